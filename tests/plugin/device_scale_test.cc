// scale=S with the fake browser, which like Chromium draws S device pixels a CSS pixel: the
// one-shot engine forces the browser's scale, the DevTools engine sets the page's, and either way
// the picture, and what GetPictureInfoW says of it, is round(width x S) by round(height x S).

#include <gtest/gtest.h>

#include <fstream>

#include <nlohmann/json.hpp>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/fake_browser_env.h"

namespace ondrel::test {
namespace {

const std::string kPage = "<html><body>seed:7 a page long enough to be a picture</body></html>\n";

const char* const kEngines[] = {"", "engine=DevTools\nkeepBrowser=0\n"};

class DeviceScaleTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::setEnvironmentVariable(kFakeBrowserProtocolLogVariable,
                                     (plugin.folder() / "protocol.log").string());
  }
  void TearDown() override {
    platform::setEnvironmentVariable(kFakeBrowserProtocolLogVariable, "");
    EXPECT_EQ(plugin.temporaryFolderContents(), std::vector<std::string>()) << "left behind";
  }

  // What GetPictureInfoW says and what GetPictureW gives must agree; the picture's size.
  std::pair<int, int> agreedSize(const std::filesystem::path& page, std::uint8_t seed) {
    PictureInfoRecord info{};
    EXPECT_EQ(plugin.getPictureInfoW(page.u16string().c_str(), 0, 0, &info), 0);
    HandedOverPicture picture;
    EXPECT_EQ(plugin.picture(page, &picture), 0);
    EXPECT_EQ(picture.header.width, info.pixelWidth);
    EXPECT_EQ(picture.header.height, info.pixelHeight);
    EXPECT_EQ(differenceFromPattern(picture, picture.header.width, picture.header.height, seed),
              "");
    return {picture.header.width, picture.header.height};
  }

  // The one-shot browser's last command line, less the switch only an elevated caller adds.
  std::vector<std::string> lastArguments() const {
    std::vector<std::string> args = plugin.browserRuns().back().args;
    std::erase(args, "--do-not-de-elevate");
    return args;
  }

  // The viewport metrics the DevTools engine last set.
  nlohmann::json lastMetrics() const {
    nlohmann::json metrics;
    std::ifstream log(plugin.folder() / "protocol.log");
    for (std::string line; std::getline(log, line);) {
      const nlohmann::json command = nlohmann::json::parse(line);
      if (command["method"] == "Emulation.setDeviceMetricsOverride") metrics = command["params"];
    }
    return metrics;
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(DeviceScaleTest, BothEnginesDrawTwiceTheSizeAtScaleTwo) {
  const auto page = plugin.writeFile("page.html", kPage);
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    plugin.useFakeBrowser(std::string("width=40\nheight=30\nscale=2\n") + engine);
    EXPECT_EQ(agreedSize(page, 7), (std::pair{80, 60}));
  }
  // The one-shot window and the DevTools viewport stay in CSS pixels.
  const std::vector<BrowserRun> runs = plugin.browserRuns();
  std::vector<std::string> oneShot = runs.front().args;
  std::erase(oneShot, "--do-not-de-elevate");
  ASSERT_EQ(oneShot.size(), 7u);
  EXPECT_EQ(oneShot[3], "--force-device-scale-factor=2");
  EXPECT_EQ(oneShot[4], "--window-size=40,30");
  EXPECT_EQ(lastMetrics(),
            (nlohmann::json{
                {"width", 40}, {"height", 30}, {"deviceScaleFactor", 2.0}, {"mobile", false}}));
}

TEST_F(DeviceScaleTest, AMissingOrUnusableScaleIsOneAndTheCommandLineAsBefore) {
  const auto page = plugin.writeFile("page.html", kPage);
  for (const char* line : {"", "scale=1\n", "scale=1.0\n", "scale=0.5\n", "scale=5\n",
                           "scale=two\n", "scale=\n", "scale=1,5\n"}) {
    SCOPED_TRACE(line);
    plugin.useFakeBrowser(std::string("width=40\nheight=30\n") + line);
    EXPECT_EQ(agreedSize(page, 7), (std::pair{40, 30}));
    EXPECT_EQ(lastArguments().size(), 6u);
    EXPECT_EQ(lastArguments()[3], "--window-size=40,30");
  }
}

// 41 x 1.5 = 61.5 and 7 x 1.5 = 10.5 round up, as Chromium's screenshots do.
TEST_F(DeviceScaleTest, FractionalScalesRoundHalfUpInBothEngines) {
  const auto page = plugin.writeFile("page.html", kPage);
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    plugin.useFakeBrowser(std::string("width=41\nheight=7\nscale=1.5\n") + engine);
    EXPECT_EQ(agreedSize(page, 7), (std::pair{62, 11}));
  }
}

TEST_F(DeviceScaleTest, ADrawingIsScaledFromItsOwnSize) {
  const auto drawing = plugin.writeFile(
      "drawing.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"101\" height=\"50\"/>\n");
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    plugin.useFakeBrowser(std::string("scale=1.25\n") + engine);
    EXPECT_EQ(agreedSize(drawing, 0x80), (std::pair{126, 63}));
  }
}

// The content height is in CSS pixels; the tallest picture counts rows of the picture.
TEST_F(DeviceScaleTest, AWholePageIsScaledWithinTheTallestPicture) {
  const std::tuple<const char*, const char*, int> cases[] = {
      {"2", "page-height:500", 1000},
      {"2", "page-height:100000", 16384},
      {"1.5", "page-height:100000", 16383},  // 10922 rows of CSS pixels
      {"1.5", "page-height:333.2", 501},     // 334 x 1.5
  };
  for (const auto& [scale, height, rows] : cases) {
    SCOPED_TRACE(std::string(scale) + " " + height);
    plugin.useFakeBrowser(std::string("engine=DevTools\nkeepBrowser=0\nfullPage=ON\nwidth=8\n") +
                          "scale=" + scale + "\n");
    const auto page = plugin.writeFile("tall.html", kPage + height + "\n");
    EXPECT_EQ(agreedSize(page, 7).second, rows);
  }
}

TEST_F(DeviceScaleTest, APictureTooLargeOnceScaledIsRefusedBeforeTheBrowser) {
  const auto page = plugin.writeFile("page.html", kPage);
  for (const char* engine : kEngines) {
    // 30000 x 20000 fits a 24-bit bitmap; 60000 x 40000 does not.
    plugin.useFakeBrowser(std::string("width=30000\nheight=20000\nscale=2\n") + engine);
    EXPECT_EQ(plugin.picture(page), 4) << engine;
  }
  EXPECT_TRUE(plugin.browserRuns().empty());
}

}  // namespace
}  // namespace ondrel::test
