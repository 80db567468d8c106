// The browser kept between pictures with Debian's Chromium behind the wrapper script, which a
// test wrapper in front of it counts the starts of. Warm pictures are compared with those of a
// browser per picture (keepBrowser=0), not with the one-shot engine's: that one sizes a window,
// not the page's viewport, so its pictures of the same page differ for reasons of its own.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/child_process.h"
#include "platform/host_support.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/chromium_processes.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wait_until.h"

namespace ondrel::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

const std::filesystem::path kExamples = ONDREL_EXAMPLES;

bool samePixels(const HandedOverPicture& a, const HandedOverPicture& b) {
  return a.header.width == b.header.width && a.header.height == b.header.height &&
         a.pixels == b.pixels;
}

class KeptChromiumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Logs each start, then is the wrapper.
    wrapper_ = plugin.writeFile(
        "counting-chromium", "#!/bin/sh\necho start >>'" + (plugin.folder() / "starts").string() +
                                 "'\nexec '" ONDREL_CHROMIUM_WRAPPER "' \"$@\"\n");
    std::filesystem::permissions(wrapper_, std::filesystem::perms::owner_all);
  }

  void useEngine(int keepSeconds, const std::string& extraLines = "", int waitSeconds = 30) {
    plugin.writeSettings("[SystemSetting]\nChrome=" + wrapper_.string() +
                         "\nengine=DevTools\nwaitTime=" + std::to_string(waitSeconds) +
                         "\nkeepBrowser=" + std::to_string(keepSeconds) + "\n" + extraLines);
  }

  int starts() const {
    const std::string log = readWholeFile(plugin.folder() / "starts");
    return int(std::count(log.begin(), log.end(), '\n'));
  }

  int profiles() const {
    int count = 0;
    for (const std::string& name : temporary_.entries())
      count += name.starts_with("ondrel-profile-");
    return count;
  }

  std::vector<int> browserProcesses() const {
    return chromiumProcessesNaming(temporary_.path().string());
  }

  // Waits a while for the browser's processes and folders to go, as after a kill they take a
  // moment; then none may be left.
  void expectNothingLeft(bool folders = true) {
    waitUntil(
        [&] { return browserProcesses().empty() && (!folders || temporary_.entries().empty()); },
        seconds(20));
    EXPECT_EQ(browserProcesses(), std::vector<int>());
    if (folders) {
      EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
    }
  }

  PluginModule plugin;
  ShallowTemporaryFolder temporary_{"ondrel-kept-"};
  std::filesystem::path wrapper_;
};

TEST_F(KeptChromiumTest, TwentyWarmPicturesFromOneStartEqualThoseOfABrowserEach) {
  const std::vector<std::filesystem::path> pages = {
      kExamples / "page.html", kExamples / "drawing.svg", kExamples / "sample.md",
      plugin.writeFile("plain.html", plainPage({40, 120, 200})),
      plugin.writeFile("icon.svg", iconDrawing(123, 1))};
  useEngine(0, "width=640\nheight=480\n");
  std::vector<HandedOverPicture> reference(pages.size());
  for (std::size_t i = 0; i < pages.size(); ++i) {
    ASSERT_EQ(plugin.picture(pages[i], &reference[i]), 0) << pages[i];
  }
  ASSERT_EQ(starts(), int(pages.size()));

  useEngine(60, "width=640\nheight=480\n");
  for (int n = 0; n < 20; ++n) {
    const std::size_t i = std::size_t(n) % pages.size();
    HandedOverPicture warm;
    ASSERT_EQ(plugin.picture(pages[i], &warm), 0) << n << " " << pages[i];
    EXPECT_TRUE(samePixels(warm, reference[i])) << n << " " << pages[i];
  }
  EXPECT_EQ(starts(), int(pages.size()) + 1);
  EXPECT_EQ(profiles(), 1);

  plugin.unload();
  expectNothingLeft();
}

TEST_F(KeptChromiumTest, IdleBrowserIsClosedAndAKilledOneReplaced) {
  useEngine(1, "width=64\nheight=48\n");
  const auto red = plugin.writeFile("red.html", plainPage({255, 0, 0}));
  HandedOverPicture result;
  ASSERT_EQ(plugin.picture(red, &result), 0);
  std::this_thread::sleep_for(milliseconds(1500));
  ASSERT_EQ(plugin.picture(red, &result), 0);
  EXPECT_EQ(starts(), 2);
  EXPECT_EQ(profiles(), 1);  // the idle one's went with it

  useEngine(60, "width=64\nheight=48\n");
  ASSERT_EQ(plugin.picture(red, &result), 0);
  EXPECT_EQ(starts(), 2);
  const std::vector<int> killed = browserProcesses();
  ASSERT_FALSE(killed.empty());
  for (const int pid : killed) kill(pid, SIGKILL);
  ASSERT_EQ(plugin.picture(red, &result), 0);
  expectColourAt(result, 63, 47, {255, 0, 0});
  EXPECT_EQ(starts(), 3);

  plugin.unload();
  expectNothingLeft();
}

TEST_F(KeptChromiumTest, TwoThreadsShareOneBrowser) {
  useEngine(60, "width=64\nheight=48\n");
  const Colour colours[] = {{255, 0, 0}, {0, 0, 255}};
  const std::array<std::filesystem::path, 2> pages = {
      plugin.writeFile("page0/page.html", plainPage(colours[0])),
      plugin.writeFile("page1/page.html", plainPage(colours[1]))};
  for (int round = 0; round < 2; ++round) {
    std::array<HandedOverPicture, 2> results;
    const std::array<int, 2> codes = plugin.picturesAtOnce(pages, results);
    for (int i = 0; i < 2; ++i) {
      ASSERT_EQ(codes[i], 0) << i;
      expectColourAt(results[i], 0, 0, colours[i]);
      expectColourAt(results[i], 63, 47, colours[i]);
    }
  }
  EXPECT_EQ(starts(), 1);
  plugin.unload();
  expectNothingLeft();
}

// Chromium leaves when its debugging pipe closes, which the death of the process holding the
// other end does: no signal or process group is needed for it.
TEST_F(KeptChromiumTest, BrowserGoesWithAKilledHost) {
  const auto settings =
      plugin.writeFile("render.ini", "[SystemSetting]\nChrome=" + wrapper_.string() +
                                         "\nengine=DevTools\nwaitTime=60\nwidth=64\nheight=48\n");
  const auto page = plugin.writeFile(
      "endless.html", "<html><body><script>for (;;) {}</script>never loaded</body></html>\n");
  const std::string line = "\"" ONDREL_RENDER_PROGRAM "\" --ini \"" + settings.string() + "\" \"" +
                           page.string() + "\" \"" + (plugin.folder() / "endless.png").string() +
                           "\"";
  std::optional<platform::ChildProcess> host =
      platform::ChildProcess::start(utf8ToWide(line), plugin.folder().u16string());
  ASSERT_TRUE(host);
  waitUntil([&] { return browserProcesses().size() >= 3; }, seconds(30));
  std::this_thread::sleep_for(seconds(1));
  ASSERT_FALSE(browserProcesses().empty());
  host->terminateAndWait();  // SIGKILL
  // The dead host's profile folder stays: nobody was left to remove it.
  expectNothingLeft(false);
}

}  // namespace
}  // namespace ondrel::test
