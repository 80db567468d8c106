// The DevTools engine through the plug-in's exports with the fake browser speaking the protocol
// on descriptors 3 and 4: natively over POSIX pipes, under wine through the C runtime's
// inherited-descriptor block. Every picture is the fake's pattern at the viewport's size; every
// failure gives 6 within the limit, and no browser, profile or staged page stays behind.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <regex>

#include <nlohmann/json.hpp>

#include "tests/plugin/handed_over_picture.h"
#include "tests/support/fake_devtools_fixture.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;

const std::string kPage = "<html><body>seed:41 a page long enough to be a picture</body></html>\n";

class DevToolsEngineTest : public FakeDevToolsFixture {
 protected:
  // A browser per picture, whose whole run each test checks; the kept browser has tests of its own
  // (kept_browser_test.cc).
  void useEngine(const std::string& lines) {
    plugin.useFakeBrowser("engine=DevTools\nkeepBrowser=0\n" + lines);
  }

  int picture(const std::filesystem::path& page, HandedOverPicture& result) {
    platform::BlockHandle header = nullptr;
    platform::BlockHandle pixels = nullptr;
    const int code =
        plugin.getPictureW(page.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0);
    if (code == 0) result = HandedOverPicture::takeOver(header, pixels);
    return code;
  }

  int pictureInfo(const std::filesystem::path& page, PictureInfoRecord& record) {
    return plugin.getPictureInfoW(page.u16string().c_str(), 0, 0, &record);
  }
};

TEST_F(DevToolsEngineTest, PictureIsThePageAtExactlyTheCaptureSize) {
  useEngine("width=100\nheight=123\n");
  const auto page = plugin.writeFile("dir with space/page #1.html", kPage);
  HandedOverPicture result;
  ASSERT_EQ(picture(page, result), 0);
  ASSERT_EQ(result.header.width, 100);
  ASSERT_EQ(result.header.height, 123);
  EXPECT_EQ(differenceFromPattern(result, 100, 123, 41), "");
  expectNothingLeft("after the picture");
}

TEST_F(DevToolsEngineTest, BrowserIsStartedWithItsSwitchesAndDrivenStepByStep) {
  useEngine("width=64\nheight=48\n");
  const auto page = plugin.writeFile("page.html", kPage);
  HandedOverPicture result;
  ASSERT_EQ(picture(page, result), 0);

  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  std::vector<std::string> args = runs[0].args;
  // Every process under wine reads as elevated; only then is the switch there.
  std::erase(args, "--do-not-de-elevate");
  ASSERT_EQ(args.size(), 10u);
  EXPECT_EQ(args[0], "--headless");
  EXPECT_EQ(args[1], "--remote-debugging-pipe");
  EXPECT_TRUE(std::regex_search(args[2], std::regex("^--user-data-dir=.*ondrel-profile-")))
      << args[2];
  EXPECT_EQ(args[3], "--no-first-run");
  EXPECT_EQ(args[4], "--no-default-browser-check");
  EXPECT_EQ(args[5], "--disable-gpu-vsync");
  EXPECT_EQ(args[6], "--disable-frame-rate-limit");
  EXPECT_EQ(args[7],
            "--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup,"
            "SpareRendererForSitePerProcess");
  EXPECT_EQ(args[8], "--hide-scrollbars");
  EXPECT_EQ(args[9], "about:blank");

  std::vector<std::string> methods;
  for (const nlohmann::json& command : commands()) methods.push_back(command["method"]);
  // The version comes first: a browser that will not answer it refuses the pipe.
  EXPECT_EQ(methods, (std::vector<std::string>{
                         "Browser.getVersion", "Target.createTarget", "Target.attachToTarget",
                         "Page.enable", "Emulation.setDeviceMetricsOverride", "Page.navigate",
                         "Page.captureScreenshot", "Browser.close"}));
  const std::vector<nlohmann::json> sent = commands();
  ASSERT_EQ(sent.size(), 8u);
  EXPECT_EQ(sent[2]["params"]["flatten"], true);
  EXPECT_EQ(
      sent[4]["params"],
      (nlohmann::json{{"width", 64}, {"height", 48}, {"deviceScaleFactor", 1}, {"mobile", false}}));
  EXPECT_EQ(sent[4]["sessionId"], "fake-session-1");
  const std::string url = sent[5]["params"]["url"];
  EXPECT_TRUE(url.starts_with("file:///")) << url;
  EXPECT_TRUE(url.ends_with("/page.html")) << url;
}

TEST_F(DevToolsEngineTest, ScrollBarsOnLeavesTheirSwitchOut) {
  useEngine("scrollBar=on\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(plugin.writeFile("page.html", kPage), result), 0);
  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  EXPECT_EQ(std::count(runs[0].args.begin(), runs[0].args.end(), "--hide-scrollbars"), 0);
}

TEST_F(DevToolsEngineTest, MarkdownIsStagedAndRemoved) {
  useEngine("width=32\nheight=16\n");
  const auto document = plugin.writeFile(
      "notes.md", "# Notes\n\nseed:9 and enough text here to make a picture of the document\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(document, result), 0);
  EXPECT_EQ(differenceFromPattern(result, 32, 16, 9), "");
  const std::vector<nlohmann::json> sent = commands();
  ASSERT_GE(sent.size(), 6u);
  const std::string url = sent[5]["params"]["url"];
  EXPECT_TRUE(url.ends_with(".htm")) << url;
  expectNothingLeft("after the Markdown picture");
}

TEST_F(DevToolsEngineTest, WholePageHeightIsWhatPictureInfoReports) {
  useEngine("width=40\nheight=30\nfullPage=ON\n");
  const std::pair<const char*, int> pages[] = {
      {"page-height: 700.5", 701},
      {"page-height: 12", 12},
      {"page-height: 99999", 16384},
  };
  for (const auto& [marker, height] : pages) {
    const auto page = plugin.writeFile("long.html", "<html>seed:3 " + std::string(marker) +
                                                        " and enough text for a picture</html>\n");
    PictureInfoRecord record{};
    ASSERT_EQ(pictureInfo(page, record), 0) << marker;
    EXPECT_EQ(record.pixelWidth, 40) << marker;
    EXPECT_EQ(record.pixelHeight, height) << marker;
    HandedOverPicture result;
    ASSERT_EQ(picture(page, result), 0) << marker;
    EXPECT_EQ(result.header.width, 40) << marker;
    EXPECT_EQ(result.header.height, height) << marker;
    EXPECT_EQ(differenceFromPattern(result, 40, height, 3), "") << marker;
  }
  expectNothingLeft("after the whole pages");
}

TEST_F(DevToolsEngineTest, WholePageNeedsTheEngine) {
  plugin.useFakeBrowser("width=40\nheight=30\nfullPage=ON\n");
  PictureInfoRecord record{};
  ASSERT_EQ(pictureInfo(plugin.writeFile("page.html", kPage), record), 0);
  EXPECT_EQ(record.pixelHeight, 30);
  EXPECT_TRUE(plugin.browserRuns().empty());
}

TEST_F(DevToolsEngineTest, EveryBrowserFailureGivesSixAndLeavesNothing) {
  const auto page = plugin.writeFile("page.html", kPage);
  // A browser that closes its pipe or ends before its first answer refuses the pipe, and from
  // then on the one-shot engine takes the module's pictures (fallback_test.cc): those two come
  // last. The fake browser fails with --screenshot too in their modes.
  for (const char* mode : {"hang", "no-load", "bad-json", "smaller", "not-png", "target-error",
                           "close-pipe", "exit"}) {
    useEngine("width=24\nheight=16\nwaitTime=1\n");
    plugin.setBrowserMode(mode);
    const Clock::time_point start = Clock::now();
    HandedOverPicture result;
    EXPECT_EQ(picture(page, result), 6) << mode;
    // The limit holds for the whole picture, closing included, with room for a slow machine.
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(4)) << mode;
    expectNothingLeft(mode);
  }
}

TEST_F(DevToolsEngineTest, ABrowserThatLingersAfterClosingIsKilled) {
  useEngine("width=24\nheight=16\nwaitTime=2\n");
  plugin.setBrowserMode("linger");
  HandedOverPicture result;
  EXPECT_EQ(picture(plugin.writeFile("page.html", kPage), result), 0);
  expectNothingLeft("after the lingering browser");
}

TEST_F(DevToolsEngineTest, AMissingPageGivesSix) {
  useEngine("");
  const auto page = plugin.writeFile("gone.html", kPage);
  PictureInfoRecord ignored{};
  ASSERT_EQ(pictureInfo(page, ignored), 0);
  std::filesystem::remove(page);
  HandedOverPicture result;
  EXPECT_EQ(picture(page, result), 6);
  expectNothingLeft("after the missing page");
}

// The staged page of a document with a diagram draws it after its load event; the height and the
// picture are the drawn page's, and a page that draws nothing is asked nothing more.
TEST_F(DevToolsEngineTest, ADrawnPageIsMeasuredAndPhotographedOnceItsDrawingIsDone) {
  if (!plugin.copyDrawingAssets()) GTEST_SKIP() << "the build has no drawing assets";
  const std::string text = "\n\nseed:3 page-height: 300 drawn-height: 900 and enough text\n";
  const auto diagram = plugin.writeFile("diagram.md", "```mermaid\ngraph TD\n```" + text);
  const auto plain = plugin.writeFile("plain.md", "# Plain" + text);
  const std::string settings = "width=40\nheight=30\nfullPage=ON\nmarkdown=GFM\n";
  const std::pair<std::string, int> cases[] = {{settings + "markdownDrawing=ON\n", 900},
                                               {settings, 300}};
  for (const auto& [lines, height] : cases) {
    useEngine(lines);
    PictureInfoRecord record{};
    ASSERT_EQ(pictureInfo(diagram, record), 0) << lines;
    EXPECT_EQ(record.pixelHeight, height) << lines;
    HandedOverPicture result;
    ASSERT_EQ(picture(diagram, result), 0) << lines;
    EXPECT_EQ(result.header.height, height) << lines;
    EXPECT_EQ(differenceFromPattern(result, 40, height, 3), "") << lines;
  }
  // The promise is awaited after the load and before the layout is measured, and only with the
  // key: without it the browser is asked exactly what it always was.
  std::vector<std::string> methods;
  for (const nlohmann::json& command : commands()) {
    methods.push_back(command["method"]);
    if (command["method"] == "Runtime.evaluate") {
      EXPECT_EQ(command["params"], (nlohmann::json{{"expression", "window.ondrelDrawing"},
                                                   {"awaitPromise", true},
                                                   {"returnByValue", true}}));
    }
  }
  EXPECT_EQ(std::count(methods.begin(), methods.end(), "Runtime.evaluate"), 2);
  const auto evaluated = std::find(methods.begin(), methods.end(), "Runtime.evaluate");
  ASSERT_NE(evaluated, methods.end());
  EXPECT_EQ(*(evaluated - 1), "Page.navigate");
  EXPECT_EQ(*(evaluated + 1), "Page.getLayoutMetrics");

  // A plain document's page loads no script, but may still be asked.
  useEngine(settings + "markdownDrawing=ON\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(plain, result), 0);
  EXPECT_EQ(result.header.height, 300);
  expectNothingLeft("after the drawn pages");
}

TEST_F(DevToolsEngineTest, ADrawingThatNeverEndsGivesSixAtTheTimeLimit) {
  if (!plugin.copyDrawingAssets()) GTEST_SKIP() << "the build has no drawing assets";
  useEngine("waitTime=2\nmarkdown=GFM\nmarkdownDrawing=ON\n");
  const auto page = plugin.writeFile(
      "endless.md", "```mermaid\ngraph TD\n```\n\nseed:3 drawing:never-ends and some text\n");
  const auto start = Clock::now();
  HandedOverPicture result;
  EXPECT_EQ(picture(page, result), 6);
  const auto took = Clock::now() - start;
  EXPECT_GE(took, std::chrono::milliseconds(1900));
  EXPECT_LT(took, std::chrono::seconds(10));
  expectNothingLeft("after the endless drawing");
}

}  // namespace
}  // namespace ondrel::test
