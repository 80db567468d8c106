// A browser that refuses the DevTools pipe, ending or closing it before its first answer (too
// old for the pipe, or remote debugging forbidden by a policy): its pictures are taken with the
// one-shot engine instead, from then on until Chrome names another browser, and the log says so
// once. A time-out, or a failure after the first answer, is never such a refusal.

#include <gtest/gtest.h>

#include <fstream>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

const std::string kPage = "<html><body>seed:7 a page long enough to be a picture</body></html>\n";

bool onPipe(const BrowserRun& run) {
  return std::find(run.args.begin(), run.args.end(), "--remote-debugging-pipe") != run.args.end();
}

// "pipe" or "screenshot" for each run of the fake browser, in order.
std::vector<std::string> runKinds(const std::vector<BrowserRun>& runs) {
  std::vector<std::string> kinds;
  for (const BrowserRun& run : runs) kinds.push_back(onPipe(run) ? "pipe" : "screenshot");
  return kinds;
}

std::vector<std::string> linesOf(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::size_t countWith(const std::vector<std::string>& lines, const std::string& text) {
  return std::size_t(std::count_if(lines.begin(), lines.end(), [&](const std::string& line) {
    return line.find(text) != std::string::npos;
  }));
}

class FallbackTest : public ::testing::Test {
 protected:
  void useBrowser(const std::string& browser, const std::string& lines = "") {
    plugin.writeSettings("[SystemSetting]\nChrome=" + browser + "\nengine=DevTools\nwidth=24\n" +
                         "height=16\nwaitTime=2\nlog=" + (plugin.folder() / "ondrel.log").string() +
                         "\n" + lines);
  }

  void expectPicture(const std::string& context) {
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(page_, &result), 0) << context;
    EXPECT_EQ(differenceFromPattern(result, 24, 16, 7), "") << context;
  }

  std::vector<std::string> log() const { return linesOf(plugin.folder() / "ondrel.log"); }

  platform::ComApartment com;
  PluginModule plugin;
  std::filesystem::path page_ = plugin.writeFile("page.html", kPage);
};

TEST_F(FallbackTest, ABrowserThatRefusesThePipeGetsItsPicturesTheOneShotWay) {
  plugin.setBrowserMode("refuse-pipe");
  useBrowser(fakeBrowserPath());
  expectPicture("first picture");
  EXPECT_EQ(runKinds(plugin.browserRuns()), (std::vector<std::string>{"pipe", "screenshot"}));
  // From now on the one-shot engine at once, and the whole page is as high as its picture.
  expectPicture("second picture");
  useBrowser(fakeBrowserPath(), "fullPage=ON\n");
  PictureInfoRecord record{};
  ASSERT_EQ(plugin.getPictureInfoW(page_.u16string().c_str(), 0, 0, &record), 0);
  EXPECT_EQ(record.pixelHeight, 16);
  expectPicture("a whole page");
  EXPECT_EQ(runKinds(plugin.browserRuns()),
            (std::vector<std::string>{"pipe", "screenshot", "screenshot", "screenshot"}));

  const std::vector<std::string> lines = log();
  EXPECT_EQ(countWith(lines, "browser exited with code 21 before answering"), 1u);
  EXPECT_EQ(countWith(lines, "the browser refuses the DevTools pipe"), 1u);
  EXPECT_EQ(countWith(lines, " GetPictureW \"" + page_.string() + "\" result 0 in "), 3u);
  EXPECT_EQ(countWith(lines, " ms, one-shot engine"), 3u + 1u);  // the information call too
}

TEST_F(FallbackTest, AnotherBrowserIsGivenItsChance) {
  plugin.setBrowserMode("refuse-pipe");
  useBrowser(fakeBrowserPath());
  expectPicture("refused");
  const std::filesystem::path original(fakeBrowserPath());
  const std::filesystem::path other = plugin.folder() / ("other" + original.extension().string());
  std::filesystem::copy_file(original, other);
  plugin.setBrowserMode("normal");
  useBrowser(other.string());
  expectPicture("another browser");
  useBrowser(fakeBrowserPath());
  expectPicture("the first browser again");
  EXPECT_EQ(runKinds(plugin.browserRuns()),
            (std::vector<std::string>{"pipe", "screenshot", "pipe", "pipe"}));
}

TEST_F(FallbackTest, TimeOutsAndFailuresAfterTheFirstAnswerAreNoRefusal) {
  for (const char* mode : {"hang", "target-error", "no-load"}) {
    plugin.setBrowserMode(mode);
    useBrowser(fakeBrowserPath(), "waitTime=1\nkeepBrowser=0\n");
    EXPECT_EQ(plugin.picture(page_), 6) << mode;
  }
  EXPECT_EQ(runKinds(plugin.browserRuns()), (std::vector<std::string>{"pipe", "pipe", "pipe"}));
  EXPECT_EQ(countWith(log(), "refuses the DevTools pipe"), 0u);
}

}  // namespace
}  // namespace ondrel::test
