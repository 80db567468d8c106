// Documents handed over in memory with Debian's Chromium behind the wrapper script, in both
// engines: the samples' HTML page, SVG drawing and Markdown notes, asked for as a viewer asks for
// the entries of an archive, give the very pictures their files give, and leave nothing behind.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/host_support.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;

const std::filesystem::path kExamples = ONDREL_EXAMPLES;

std::string readFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

struct Sample {
  const char* name;
  const char* extraLines;
};

const Sample kSamples[] = {
    {"page.html", ""},
    {"drawing.svg", ""},
    {"sample.md", ""},
    {"readme.md", "markdown=GFM\n"},
};

class MemoryImageBrowserTest : public ::testing::Test {
 protected:
  void useChromium(const std::string& lines) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
                         "\nwaitTime=30\nmemoryImages=ON\n" +
                         lines);
  }

  // The browser's profile goes with the kept browser at the module's unload, the wrapper's
  // folder once its last browser process has ended.
  void expectNothingLeft() {
    plugin.unload();
    const auto deadline = Clock::now() + std::chrono::seconds(20);
    while (!temporary_.entries().empty() && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
  }

  platform::ComApartment com;
  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-memory-"};
};

TEST_F(MemoryImageBrowserTest, EachSampleInMemoryIsThePictureOfItsFile) {
  for (const char* engine : {"", "engine=DevTools\n"}) {
    for (const Sample& sample : kSamples) {
      SCOPED_TRACE(std::string(sample.name) + " " + engine);
      useChromium(std::string(engine) + sample.extraLines);
      const std::filesystem::path file = kExamples / sample.name;
      PictureInfoRecord fileInfo{};
      ASSERT_EQ(plugin.getPictureInfoW(file.u16string().c_str(), 0, 0, &fileInfo), 0);
      HandedOverPicture fromFile;
      ASSERT_EQ(plugin.picture(file, &fromFile), 0);

      const std::string image = readFile(file);
      ASSERT_EQ(plugin.supportsEntry(u"archive/" + file.filename().u16string(), image), 1);
      PictureInfoRecord memoryInfo{};
      ASSERT_EQ(plugin.memoryPictureInfo(image, memoryInfo), 0);
      EXPECT_EQ(memoryInfo.pixelWidth, fileInfo.pixelWidth);
      EXPECT_EQ(memoryInfo.pixelHeight, fileInfo.pixelHeight);
      HandedOverPicture fromMemory;
      ASSERT_EQ(plugin.memoryPicture(image, &fromMemory), 0);
      EXPECT_EQ(fromMemory.header.width, fromFile.header.width);
      EXPECT_EQ(fromMemory.header.height, fromFile.header.height);
      EXPECT_TRUE(fromMemory.pixels == fromFile.pixels) << "the pictures differ";
      EXPECT_EQ(plugin.leftovers(), std::vector<std::string>());
    }
  }
  expectNothingLeft();
}

}  // namespace
}  // namespace ondrel::test
