// The soak test trusts these counts: a count stuck at zero, or blind to what
// the plug-in makes, would let any leak pass. Each one must see one more of
// what it counts while that is held, and none once it is let go.

#include "tests/support/resource_usage.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/host_support.h"
#include "platform/screenshot_bitmap.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

class ResourceUsageTest : public ::testing::Test {
 protected:
  platform::ComApartment com_;
  PluginModule scratch_;  // a private folder and the fake browser's settings
};

TEST_F(ResourceUsageTest, AnOpenFileIsOneHandleMore) {
  const auto path = scratch_.writeFile("held.txt", "held").u16string();
  const ResourceUsage before = measureResourceUsage();
  {
    const std::optional<platform::ReadableFile> file = platform::ReadableFile::open(path);
    ASSERT_TRUE(file);
    EXPECT_EQ(measureResourceUsage().handles, before.handles + 1);
  }
  EXPECT_EQ(measureResourceUsage().handles, before.handles);
}

TEST_F(ResourceUsageTest, ARunningChildIsCountedUntilItIsStopped) {
  scratch_.setBrowserMode("hang");
  const ResourceUsage before = measureResourceUsage();
  std::optional<platform::ChildProcess> child = platform::ChildProcess::start(
      u"\"" + utf8ToWide(fakeBrowserPath()) + u"\"", scratch_.folder().u16string());
  ASSERT_TRUE(child);
  EXPECT_EQ(measureResourceUsage().childProcesses, before.childProcesses + 1);
  child->terminateAndWait();
  child.reset();
  EXPECT_EQ(measureResourceUsage().childProcesses, before.childProcesses);
}

TEST_F(ResourceUsageTest, HeldMemoryIsCounted) {
  constexpr std::int64_t kBlock = 16 << 20;
  const ResourceUsage before = measureResourceUsage();
  {
    // Written to, so that every page is really committed.
    std::vector<char> block(std::size_t(kBlock), 'x');
    EXPECT_GE(measureResourceUsage().memoryBytes, before.memoryBytes + kBlock);
  }
  EXPECT_LT(measureResourceUsage().memoryBytes, before.memoryBytes + kBlock / 4);
}

// On Windows a decoded screenshot is a GDI bitmap.
TEST_F(ResourceUsageTest, ADecodedScreenshotIsOneGdiObjectMoreWhereTheyAreCounted) {
  const ResourceUsage before = measureResourceUsage();
  if (!before.gdiObjects) GTEST_SKIP() << "this system has no GDI objects to count";
  const auto png = scratch_.folder() / "shot.png";
  ASSERT_TRUE(writePng(png, patternImage(8, 8, 1)));
  {
    const std::unique_ptr<platform::ScreenshotBitmap> bitmap =
        platform::decodePngFile(png.u16string(), 8, 8);
    ASSERT_TRUE(bitmap);
    EXPECT_EQ(measureResourceUsage().gdiObjects, *before.gdiObjects + 1);
  }
  EXPECT_EQ(measureResourceUsage().gdiObjects, before.gdiObjects);
}

}  // namespace
}  // namespace ondrel::test
