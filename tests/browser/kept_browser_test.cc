// The browser kept between pictures (keepBrowser), with the fake browser on its pipe: natively and
// under wine. One start serves many pictures, each in a browser context of its own; the browser
// goes when idle, at unload, with changed switches, and with the process that started it; a browser
// that crashed is replaced for the picture at hand; threads take turns within their own limits.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <set>
#include <thread>

#include <nlohmann/json.hpp>

#include "platform/child_process.h"
#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/support/fake_devtools_fixture.h"
#include "tests/support/process_end.h"
#include "tests/support/wait_until.h"

namespace ondrel::test {
namespace {

using std::chrono::milliseconds;

std::string page(int seed, int pauseMilliseconds = 0) {
  return "<html><body>seed:" + std::to_string(seed) +
         " pause:" + std::to_string(pauseMilliseconds) +
         " a page long enough to be a picture</body></html>\n";
}

class KeptBrowserTest : public FakeDevToolsFixture {
 protected:
  void useEngine(const std::string& lines) {
    plugin.useFakeBrowser("engine=DevTools\nwidth=24\nheight=16\n" + lines);
  }

  // Takes the picture of a new page with `seed` and checks it is that page's.
  void expectPicture(int seed, const std::string& context) {
    const auto file = plugin.writeFile("page" + std::to_string(seed) + ".html", page(seed));
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(file, &result), 0) << context;
    EXPECT_EQ(differenceFromPattern(result, 24, 16, std::uint8_t(seed)), "") << context;
  }
};

TEST_F(KeptBrowserTest, OneStartServesEveryPictureEachInAContextOfItsOwn) {
  useEngine("");
  for (int seed = 1; seed <= 5; ++seed) expectPicture(seed, "picture " + std::to_string(seed));
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
  // Each picture asked for the next one's context and page as it ended. The last page is asked
  // for and not waited for, so the fake browser may not have read it yet.
  waitUntil([&] { return timesSent("Target.createTarget") == 6; }, std::chrono::seconds(10));
  EXPECT_EQ(timesSent("Target.createBrowserContext"), 6);
  EXPECT_EQ(timesSent("Target.createTarget"), 6);
  EXPECT_EQ(timesSent("Target.disposeBrowserContext"), 5);
  std::set<std::string> contexts;
  for (const nlohmann::json& command : commands()) {
    if (command["method"] != "Target.createTarget") continue;
    contexts.insert(command["params"].value("browserContextId", ""));
  }
  EXPECT_EQ(contexts.size(), 6u);
  EXPECT_FALSE(contexts.contains(""));
  EXPECT_EQ(timesSent("Browser.close"), 0);
  EXPECT_TRUE(browserRuns());

  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(KeptBrowserTest, IdleBrowserClosesAtTheFirstCallAfterItsTime) {
  useEngine("keepBrowser=1\n");
  expectPicture(1, "first");
  std::this_thread::sleep_for(milliseconds(1300));
  // Nothing closes it by itself: no thread watches the time.
  EXPECT_TRUE(browserRuns());
  // Any picture call closes it, one of the one-shot engine too.
  plugin.useFakeBrowser("width=24\nheight=16\n");
  expectPicture(2, "one-shot picture");
  EXPECT_EQ(timesSent("Browser.close"), 1);
  expectNothingLeft("after the idle close");

  useEngine("keepBrowser=1\n");
  expectPicture(3, "after the idle close");
  EXPECT_EQ(plugin.browserRuns().size(), 3u);  // two kept browsers and a one-shot run
}

TEST_F(KeptBrowserTest, ChangedSwitchesOrBrowserStartANewOne) {
  useEngine("");
  expectPicture(1, "first");
  useEngine("scrollBar=ON\n");
  expectPicture(2, "with scroll bars");
  expectPicture(3, "with scroll bars again");
  ASSERT_EQ(plugin.browserRuns().size(), 2u);
  EXPECT_EQ(timesSent("Browser.close"), 1);
  // Only the current browser's profile is left.
  EXPECT_EQ(plugin.temporaryFolderContents().size(), 4u);  // profile, Default, Cache, Preferences
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(KeptBrowserTest, BrowserThatCrashedIsReplacedForThePictureAtHand) {
  useEngine("waitTime=5\n");
  plugin.setBrowserMode("crash-at-second-page");
  expectPicture(1, "first");
  expectPicture(2, "in a browser that crashes at it");
  EXPECT_EQ(plugin.browserRuns().size(), 2u);
  plugin.unload();
  expectNothingLeft("after unload");
}

// A page that timed out costs only its own context (hostile_pages_test.cc); a browser as stuck
// as its page does not answer the question that follows, and goes.
TEST_F(KeptBrowserTest, BrowserThatTimedOutAndAnswersNoMoreIsNotKept) {
  useEngine("waitTime=1\n");
  plugin.setBrowserMode("stall-at-navigate");
  const auto start = std::chrono::steady_clock::now();
  HandedOverPicture result;
  EXPECT_EQ(plugin.picture(plugin.writeFile("page.html", page(1)), &result), 6);
  // The limit, the grace for an answer and the kill, with room for a slow machine.
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(4));
  expectNothingLeft("after the time-out");
}

TEST_F(KeptBrowserTest, TwoThreadsShareTheBrowser) {
  useEngine("");
  const std::array pages = {plugin.writeFile("a.html", page(11, 300)),
                            plugin.writeFile("b.html", page(12, 300))};
  std::array<HandedOverPicture, 2> results;
  EXPECT_EQ(plugin.picturesAtOnce(pages, results), (std::array<int, 2>{0, 0}));
  EXPECT_EQ(differenceFromPattern(results[0], 24, 16, 11), "");
  EXPECT_EQ(differenceFromPattern(results[1], 24, 16, 12), "");
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(KeptBrowserTest, AWaitingCallKeepsToItsOwnLimit) {
  useEngine("waitTime=20\n");
  const auto slow = plugin.writeFile("slow.html", page(1, 4000));
  std::future<int> first = std::async(std::launch::async, [&] {
    const platform::ComApartment threadCom;
    return plugin.picture(slow);
  });
  // The first call has read its limit and holds the browser by now.
  std::this_thread::sleep_for(milliseconds(1500));
  useEngine("waitTime=1\n");
  EXPECT_EQ(plugin.picture(plugin.writeFile("quick.html", page(2))), 6);
  EXPECT_EQ(first.wait_for(milliseconds(0)), std::future_status::timeout)
      << "the second call waited for the first";
  EXPECT_EQ(first.get(), 0);
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(KeptBrowserTest, BrowserEndsWithTheProcessThatStartedIt) {
  if (!ONDREL_HOST_KILL_ENDS_FAKE_BROWSER) {
    GTEST_SKIP() << "only a job object ends the fake browser, which reads no pipe while it waits";
  }
  const auto settings =
      plugin.writeFile("render.ini", "[SystemSetting]\nChrome=" + fakeBrowserPath() +
                                         "\nengine=DevTools\nwaitTime=60\nwidth=24\nheight=16\n");
  const auto slow = plugin.writeFile("slow.html", page(1, 60000));
  const std::string line = "\"" ONDREL_RENDER_PROGRAM "\" --ini \"" + settings.string() + "\" \"" +
                           slow.string() + "\" \"" + (plugin.folder() / "slow.png").string() + "\"";
  std::optional<platform::ChildProcess> host =
      platform::ChildProcess::start(utf8ToWide(line), plugin.folder().u16string());
  ASSERT_TRUE(host);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (plugin.browserRuns().empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(milliseconds(20));
  }
  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  ASSERT_NE(runs[0].pid, 0);
  std::this_thread::sleep_for(milliseconds(300));  // well into the picture
  host->terminateAndWait();
  EXPECT_TRUE(processEnds(runs[0].pid, milliseconds(10000)));
}

}  // namespace
}  // namespace ondrel::test
