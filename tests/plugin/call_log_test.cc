// The log (the `log` key) through the module's exports with the fake browser: a line per call
// with its time, name, file, result, time taken and engine, the reason of each kind of failure in
// words, the browsers started and closed, unknown keys, two threads at once, rotation, and a log
// that cannot be written, which changes nothing. Without the key nothing is written.

#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <thread>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

const std::string kPage = "<html><body>seed:41 a page long enough to be a picture</body></html>\n";

std::vector<std::string> linesOf(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> linesWith(const std::vector<std::string>& lines, const std::string& text) {
  std::vector<std::string> found;
  for (const std::string& line : lines) {
    if (line.find(text) != std::string::npos) found.push_back(line);
  }
  return found;
}

std::string joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The local time with milliseconds that starts every line.
const std::regex kTime(R"(^\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3} )");

class CallLogTest : public ::testing::Test {
 protected:
  std::filesystem::path logFile(const std::string& name = "ondrel.log") const {
    return plugin.folder() / name;
  }

  // The fake browser's settings with a log and `lines`.
  void useLog(const std::string& lines, const std::string& name = "ondrel.log") {
    plugin.useFakeBrowser("log=" + logFile(name).string() + "\nwidth=24\nheight=16\n" + lines);
  }

  std::vector<std::string> log(const std::string& name = "ondrel.log") const {
    return linesOf(logFile(name));
  }

  // The call lines of GetPictureW, one per picture.
  std::vector<std::string> pictureLines(const std::string& name = "ondrel.log") const {
    return linesWith(log(name), " GetPictureW ");
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(CallLogTest, WithoutTheKeyNothingIsWritten) {
  plugin.useFakeBrowser("width=24\nheight=16\n");
  const auto page = plugin.writeFile("page.html", kPage);
  const auto before = plugin.temporaryFolderContents();
  ASSERT_EQ(plugin.picture(page), 0);
  ASSERT_EQ(plugin.isSupportedW(page.u16string().c_str(), 0x10000), 1);
  plugin.useFakeBrowser("log=\nwidth=24\nheight=16\n");
  ASSERT_EQ(plugin.picture(page), 0);

  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(plugin.folder())) {
    names.push_back(entry.path().filename().string());
  }
  std::sort(names.begin(), names.end());
  const std::string module = std::filesystem::path(ONDREL_MODULE).filename().string();
  std::vector<std::string> expected = {
      "browser.log", module, std::filesystem::path(module).replace_extension(".ini").string(),
      "page.html", "tmp"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(plugin.temporaryFolderContents(), before);
}

TEST_F(CallLogTest, EachCallHasALineWithItsTimeNameFileResultDurationAndEngine) {
  useLog("");
  const auto page = plugin.writeFile("dir with space/page é.html", kPage);
  const std::u16string name = page.u16string();
  ASSERT_EQ(plugin.isSupportedW(name.c_str(), 0x10000), 1);
  PictureInfoRecord record{};
  ASSERT_EQ(plugin.getPictureInfoW(name.c_str(), 0, 0, &record), 0);
  ASSERT_EQ(plugin.picture(page), 0);

  const std::vector<std::string> lines = log();
  const std::string file = "\"" + page.string() + "\"";
  const std::vector<std::string> calls = {"IsSupportedW " + file + " result 1 in ",
                                          "GetPictureInfoW " + file + " result 0 in ",
                                          "GetPictureW " + file + " result 0 in "};
  std::size_t at = 0;
  for (const std::string& call : calls) {
    const auto line = std::find_if(lines.begin() + std::ptrdiff_t(at), lines.end(),
                                   [&](const std::string& l) { return l.find(call) != l.npos; });
    ASSERT_NE(line, lines.end()) << call << "\n" << joined(lines);
    EXPECT_TRUE(std::regex_search(*line, kTime)) << *line;
    EXPECT_TRUE(std::regex_search(*line, std::regex(R"( in \d+ ms, one-shot engine$)"))) << *line;
    at = std::size_t(line - lines.begin()) + 1;
  }
  // The one-shot browser's start and end.
  EXPECT_EQ(linesWith(lines, "browser started for one picture: " + fakeBrowserPath()).size(), 1u)
      << joined(lines);
  EXPECT_EQ(linesWith(lines, "browser ended with code 0").size(), 1u) << joined(lines);
}

TEST_F(CallLogTest, AnsiAndPreviewCallsGoUnderTheirOwnNames) {
  useLog("");
  const auto page = plugin.writeFile("page.html", kPage);
  const std::string name = page.string();
  ASSERT_EQ(plugin.isSupported(name.c_str(), 0x10000), 1);
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  ASSERT_EQ(plugin.getPreviewW(page.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0), 0);
  HandedOverPicture::takeOver(header, pixels);
  char16_t text[64];
  ASSERT_GT(plugin.getPluginInfoW(0, text, 64), 0);

  const std::vector<std::string> lines = log();
  EXPECT_EQ(linesWith(lines, " IsSupported \"").size(), 1u) << joined(lines);
  EXPECT_EQ(linesWith(lines, " GetPreviewW \"").size(), 1u) << joined(lines);
  EXPECT_EQ(linesWith(lines, " GetPluginInfoW index 0 result 4 in ").size(), 1u) << joined(lines);
  EXPECT_TRUE(linesWith(lines, "IsSupportedW").empty()) << joined(lines);
}

struct FailureCase {
  const char* settings;
  const char* mode;
  int result;
  std::string reason;
};

TEST_F(CallLogTest, EveryFailureSaysWhyInWords) {
  const auto page = plugin.writeFile("page.html", kPage);
  const std::string devTools = "engine=DevTools\nkeepBrowser=0\nwaitTime=1\n";
  const FailureCase cases[] = {
      {"waitTime=1\n", "hang", 6, "one-shot engine: no picture after 1 s: browser stopped"},
      {"", "no-screenshot", 6, "one-shot engine: browser exited with code 0 before the screenshot"},
      {"", "not-png", 6, "one-shot engine: screenshot is not a PNG"},
      {"", "truncated-png", 6,
       "one-shot engine: screenshot could not be decoded: cut short, or far larger than the "
       "window"},
      {devTools.c_str(), "target-error", 6,
       "DevTools engine: DevTools: Target.createTarget failed: Failed to open a new tab"},
      {devTools.c_str(), "hang", 6,
       "DevTools engine: no picture after 1 s: no answer to Browser.getVersion; browser stopped"},
      {devTools.c_str(), "no-load", 6,
       "DevTools engine: no picture after 1 s: the page had not finished loading; browser "
       "stopped"},
      {devTools.c_str(), "smaller", 6,
       "DevTools engine: screenshot is 12 x 8, not the page's 24 x 16"},
      {devTools.c_str(), "not-png", 6, "DevTools engine: screenshot is not a PNG"},
  };
  int logNumber = 0;
  for (const FailureCase& failure : cases) {
    const std::string name = "failure-" + std::to_string(++logNumber) + ".log";
    useLog(failure.settings, name);
    plugin.setBrowserMode(failure.mode);
    EXPECT_EQ(plugin.picture(page), failure.result) << failure.reason;
    const std::vector<std::string> lines = pictureLines(name);
    ASSERT_EQ(lines.size(), 1u) << failure.reason << "\n" << joined(log(name));
    EXPECT_TRUE(lines[0].ends_with(" ms, " + failure.reason)) << lines[0];
    EXPECT_NE(lines[0].find(" result " + std::to_string(failure.result) + " in "),
              std::string::npos)
        << lines[0];
  }
}

// A kept browser outlives a page that crashed or hung, and the log says which it was; one as
// stuck as its page is stopped, and the log says that too.
TEST_F(CallLogTest, APageThatFailsInAKeptBrowserSaysWhatBecameOfTheBrowser) {
  useLog("engine=DevTools\nkeepBrowser=60\nwaitTime=1\n");
  const std::string page = "<html><body>seed:41 a page long enough to be a picture, one that ";
  EXPECT_EQ(plugin.picture(plugin.writeFile("crash.html", page + "renderer:crashes</body>")), 6);
  EXPECT_EQ(plugin.picture(plugin.writeFile("hang.html", page + "renderer:hangs-before-load")), 6);
  EXPECT_EQ(plugin.picture(plugin.writeFile("fine.html", kPage)), 0);
  plugin.setBrowserMode("stall-at-navigate");
  useLog("engine=DevTools\nkeepBrowser=60\nwaitTime=1\nnetwork=OFF\n");
  EXPECT_EQ(plugin.picture(plugin.writeFile("stall.html", kPage)), 6);

  const std::vector<std::string> lines = pictureLines();
  ASSERT_EQ(lines.size(), 4u) << joined(log());
  EXPECT_TRUE(
      lines[0].ends_with(" ms, DevTools engine: the page crashed or closed itself while "
                         "loading"))
      << lines[0];
  EXPECT_TRUE(
      lines[1].ends_with(" ms, DevTools engine: no picture after 1 s: the page had not "
                         "finished loading; page dropped, browser kept"))
      << lines[1];
  EXPECT_TRUE(lines[2].ends_with(" ms, DevTools engine")) << lines[2];
  EXPECT_TRUE(
      lines[3].ends_with(" ms, DevTools engine: no picture after 1 s: no answer to "
                         "Page.navigate; browser stopped"))
      << lines[3];
  // The first browser served the first three pictures, and went when its switches changed.
  const std::string all = joined(log());
  EXPECT_EQ(linesWith(log(), "browser started: ").size(), 2u) << all;
  EXPECT_EQ(linesWith(log(), "browser closed (Chrome or its switches changed)").size(), 1u) << all;
  EXPECT_EQ(linesWith(log(), "(it did not answer after its page failed)").size(), 1u) << all;
}

TEST_F(CallLogTest, TheFileAndTheSettingsSayWhyTooAndNeverThePagesContents) {
  plugin.writeSettings("[SystemSetting]\nChrome=" + (plugin.folder() / "no-browser.exe").string() +
                       "\nlog=" + logFile().string() + "\n");
  const auto page = plugin.writeFile("secret.html", kPage);
  EXPECT_EQ(plugin.picture(page), 2);
  useLog("SVG=OFF\n");
  const auto drawing = plugin.writeFile(
      "drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"10\" height=\"10\"/>\n");
  EXPECT_EQ(plugin.picture(drawing), 2);
  EXPECT_EQ(plugin.picture(plugin.folder() / "missing.html"), 6);

  const std::vector<std::string> lines = pictureLines();
  ASSERT_EQ(lines.size(), 3u) << joined(log());
  EXPECT_TRUE(
      lines[0].ends_with(": browser not found: " + (plugin.folder() / "no-browser.exe").string()))
      << lines[0];
  EXPECT_TRUE(lines[1].ends_with(": SVG drawings are off (SVG)")) << lines[1];
  EXPECT_TRUE(lines[2].ends_with(": the file could not be read")) << lines[2];
  EXPECT_EQ(joined(log()).find("seed:41"), std::string::npos);
}

TEST_F(CallLogTest, BrowserStartsAndClosesHaveLinesOfTheirOwn) {
  useLog("engine=DevTools\nkeepBrowser=1\n");
  ASSERT_EQ(plugin.picture(plugin.writeFile("one.html", kPage)), 0);
  ASSERT_EQ(plugin.picture(plugin.writeFile("two.html", kPage)), 0);
  std::this_thread::sleep_for(std::chrono::milliseconds(1300));
  useLog("engine=DevTools\nkeepBrowser=0\n");
  ASSERT_EQ(plugin.picture(plugin.writeFile("three.html", kPage)), 0);

  const std::vector<std::string> lines = log();
  const std::vector<std::string> starts =
      linesWith(lines, "browser started: " + fakeBrowserPath() + " (FakeBrowser/1.0)");
  // The kept one served the first two pictures; the third had its own.
  EXPECT_EQ(starts.size(), 2u) << joined(lines);
  EXPECT_EQ(linesWith(lines, "browser closed (idle for 1 s)").size(), 1u) << joined(lines);
  EXPECT_EQ(linesWith(lines, "browser closed (a browser for one picture)").size(), 1u)
      << joined(lines);
  for (const std::string& line : lines) EXPECT_TRUE(std::regex_search(line, kTime)) << line;
  EXPECT_EQ(pictureLines().size(), 3u);
  for (const std::string& line : pictureLines()) {
    EXPECT_TRUE(line.ends_with(" ms, DevTools engine")) << line;
  }
}

TEST_F(CallLogTest, UnknownKeysAreNamedOncePerCallWithTheNearestKnownOne) {
  useLog("engin=DevTools\nwaittime=2\nflavour=mild\n[Other]\nMarkdown=gfm\nnothing=ours\n");
  const auto page = plugin.writeFile("page.html", kPage);
  ASSERT_EQ(plugin.picture(page), 0);
  ASSERT_EQ(plugin.picture(page), 0);

  const std::vector<std::string> warnings = linesWith(log(), " settings: ");
  ASSERT_EQ(warnings.size(), 2u) << joined(log());
  for (const std::string& line : warnings) {
    EXPECT_TRUE(line.ends_with(
        " settings: unknown key \"engin\" in [SystemSetting] (did you mean \"engine\"?); "
        "unknown key \"flavour\" in [SystemSetting]; key \"Markdown\" is in [Other], not in "
        "[SystemSetting], where it has no effect"))
        << line;
  }
}

TEST_F(CallLogTest, TwoThreadsLogWholeLinesAtOnce) {
  useLog("");
  plugin.setBrowserDelay(30);
  const std::array<std::filesystem::path, 2> pages = {plugin.writeFile("left.html", kPage),
                                                      plugin.writeFile("right.html", kPage)};
  constexpr int kRounds = 6;
  for (int round = 0; round < kRounds; ++round) {
    std::array<HandedOverPicture, 2> results;
    ASSERT_EQ(plugin.picturesAtOnce(pages, results), (std::array<int, 2>{0, 0}));
  }
  const std::vector<std::string> lines = log();
  // A call's three lines, each whole: its browser's start and end, then the call.
  EXPECT_EQ(lines.size(), std::size_t(kRounds * 2 * 3)) << joined(lines);
  for (const std::string& line : lines) {
    EXPECT_TRUE(std::regex_search(line, kTime)) << line;
    EXPECT_TRUE(line.ends_with(" engine") || line.ends_with("code 0") ||
                line.find("browser started for one picture: ") != std::string::npos)
        << line;
  }
  EXPECT_EQ(linesWith(lines, "left.html\" result 0").size(), std::size_t(kRounds));
  EXPECT_EQ(linesWith(lines, "right.html\" result 0").size(), std::size_t(kRounds));
}

TEST_F(CallLogTest, AFullLogIsRenamedAndBegunAgain) {
  useLog("");
  const std::string old(1 << 20, 'x');
  std::ofstream(logFile(), std::ios::binary) << old;
  std::ofstream(logFile("ondrel.log.1"), std::ios::binary) << "the older log\n";
  ASSERT_EQ(plugin.picture(plugin.writeFile("page.html", kPage)), 0);

  std::ifstream rotated(logFile("ondrel.log.1"), std::ios::binary);
  const std::string kept((std::istreambuf_iterator<char>(rotated)),
                         std::istreambuf_iterator<char>());
  EXPECT_EQ(kept, old);
  EXPECT_EQ(pictureLines().size(), 1u);
  EXPECT_LT(std::filesystem::file_size(logFile()), 4096u);
}

TEST_F(CallLogTest, ALogThatCannotBeWrittenChangesNothing) {
  const auto page = plugin.writeFile("page.html", kPage);
  // A folder where the file belongs, and a folder that does not exist.
  for (const std::filesystem::path& log :
       {plugin.folder() / "tmp", plugin.folder() / "missing" / "ondrel.log"}) {
    plugin.useFakeBrowser("log=" + log.string() + "\nwidth=24\nheight=16\n");
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(page, &result), 0) << log;
    EXPECT_EQ(differenceFromPattern(result, 24, 16, 41), "") << log;
    EXPECT_EQ(plugin.isSupportedW(page.u16string().c_str(), 0x10000), 1) << log;
  }
  EXPECT_FALSE(std::filesystem::exists(plugin.folder() / "missing"));
}

TEST_F(CallLogTest, ANameWithoutAFolderIsTakenBesideTheModule) {
  plugin.useFakeBrowser("log=beside.log\nwidth=24\nheight=16\n");
  ASSERT_EQ(plugin.picture(plugin.writeFile("page.html", kPage)), 0);
  EXPECT_EQ(linesWith(linesOf(plugin.folder() / "beside.log"), " GetPictureW ").size(), 1u);
}

}  // namespace
}  // namespace ondrel::test
