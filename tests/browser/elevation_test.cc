// A browser started from a fully elevated process is told to stay elevated;
// any other keeps the command line it always had. The elevation is the
// request's, so both cases run on every machine (under wine every process
// reads as elevated, elsewhere none does).

#include <gtest/gtest.h>

#include "capture/page_capture.h"
#include "platform/host_support.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

class ElevationTest : public ::testing::Test {
 protected:
  std::vector<std::string> argumentsForCapture(Elevation elevation, bool scrollBars) {
    CaptureRequest request;
    request.browserPath = utf8ToWide(fakeBrowserPath());
    request.pagePath =
        plugin.writeFile("page.html", "<html><body>seed:3 and some text</body></html>\n")
            .u16string();
    request.captureWidth = 16;
    request.captureHeight = 8;
    request.showScrollbars = scrollBars;
    request.waitSeconds = 30;
    request.elevation = elevation;
    const std::size_t before = plugin.browserRuns().size();
    EXPECT_TRUE(capturePage(request));
    const std::vector<BrowserRun> runs = plugin.browserRuns();
    if (runs.size() != before + 1) {
      ADD_FAILURE() << "the browser did not run once";
      return {};
    }
    return runs.back().args;
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(ElevationTest, OnlyAnElevatedCallerAddsTheSwitchRightAfterHeadless) {
  plugin.useFakeBrowser();
  for (const bool scrollBars : {false, true}) {
    std::vector<std::string> plain = argumentsForCapture(Elevation::kNone, scrollBars);
    std::vector<std::string> elevated = argumentsForCapture(Elevation::kFull, scrollBars);
    ASSERT_EQ(elevated.size(), plain.size() + 1) << scrollBars;
    EXPECT_EQ(plain[0], "--headless");
    EXPECT_EQ(elevated[0], "--headless");
    EXPECT_EQ(elevated[1], "--do-not-de-elevate");
    elevated.erase(elevated.begin() + 1);
    EXPECT_EQ(elevated, plain) << scrollBars;
    for (const std::string& argument : plain) EXPECT_NE(argument, "--do-not-de-elevate");
  }
}

}  // namespace
}  // namespace ondrel::test
