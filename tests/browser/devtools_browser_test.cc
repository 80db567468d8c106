// The DevTools engine with Debian's Chromium behind the wrapper script: the samples, heights the
// one-shot engine needs a frame for, a whole long document, two pictures at once, and a browser
// that never finishes or is killed. After each, no browser process and no folder may remain.

#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "platform/host_support.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/chromium_processes.h"
#include "tests/support/wait_until.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;

class DevToolsBrowserTest : public ::testing::Test {
 protected:
  void useEngine(const std::string& extraLines, int waitSeconds = 30) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
                         "\nengine=DevTools\nkeepBrowser=0\nwaitTime=" +
                         std::to_string(waitSeconds) + "\n" + extraLines);
  }

  int picture(const std::filesystem::path& page, HandedOverPicture& result) {
    return plugin.picture(page, &result);
  }

  // Nothing of the browser stays: the profile goes before the call returns, the wrapper's own
  // folder once its last browser process has gone, which after a kill takes a moment.
  void expectNothingLeft() {
    const std::string folder = temporary_.path().string();
    waitUntil([&] { return temporary_.entries().empty() && processesNaming(folder).empty(); },
              std::chrono::seconds(20));
    EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
    EXPECT_EQ(processesNaming(folder), std::vector<int>());
  }

  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-devtools-"};
};

const std::filesystem::path kExamples = ONDREL_EXAMPLES;

TEST_F(DevToolsBrowserTest, SamplesAtTheCaptureSize) {
  useEngine("width=640\nheight=480\n");
  HandedOverPicture page;
  ASSERT_EQ(picture(kExamples / "page.html", page), 0);
  ASSERT_EQ(page.header.width, 640);
  ASSERT_EQ(page.header.height, 480);
  expectColourAt(page, 2, 2, {0x1a, 0x4f, 0x8b}, 8);  // the header's gradient starts there
  for (const Colour swatch : {Colour{0xe4, 0x57, 0x2e}, {0x29, 0xbf, 0x12}, {0xff, 0xc9, 0x14}}) {
    EXPECT_GT(pixelsNear(page, swatch), 2000);
  }

  HandedOverPicture drawing;
  ASSERT_EQ(picture(kExamples / "drawing.svg", drawing), 0);
  ASSERT_EQ(drawing.header.width, 480);
  ASSERT_EQ(drawing.header.height, 320);
  expectColourAt(drawing, 390, 70, {0xff, 0xc9, 0x14});  // the sun
  expectColourAt(drawing, 0, 319, {0x29, 0xbf, 0x12});   // the grass, to the last row
  expectColourAt(drawing, 479, 319, {0x29, 0xbf, 0x12});

  HandedOverPicture document;
  ASSERT_EQ(picture(kExamples / "sample.md", document), 0);
  ASSERT_EQ(document.header.width, 640);
  ASSERT_EQ(document.header.height, 480);
  expectColourAt(document, 0, 0, {255, 255, 255});
  // The headline's colour and its underline.
  EXPECT_GT(pixelsNear(document, {0x1a, 0x4f, 0x8b}), 1500);
  expectNothingLeft();
}

// Heights the one-shot engine draws short without the wrapper's frame.
TEST_F(DevToolsBrowserTest, SizedDrawingsAreExactToTheBottomRow) {
  useEngine("width=640\nheight=480\n");
  for (const int height : {100, 123, 128}) {
    SCOPED_TRACE("drawing height " + std::to_string(height));
    const auto drawing =
        plugin.writeFile("icon" + std::to_string(height) + ".svg", iconDrawing(height, 1));
    HandedOverPicture result;
    ASSERT_EQ(picture(drawing, result), 0);
    ASSERT_EQ(result.header.width, 120);
    ASSERT_EQ(result.header.height, height);
    expectColourAt(result, 0, 0, kIconBody);
    expectColourAt(result, 119, height - 2, kIconBody);
    expectColourAt(result, 0, height - 1, kIconBand);
    expectColourAt(result, 119, height - 1, kIconBand);
  }
  expectNothingLeft();
}

TEST_F(DevToolsBrowserTest, LongDocumentIsWholeAndAsTallAsReported) {
  useEngine("width=400\nheight=300\nfullPage=ON\n");
  std::string text = "<style>body{margin:0}</style>\n\n# A long document\n\n";
  for (int i = 0; i < 120; ++i) text += "Paragraph " + std::to_string(i) + " of the document.\n\n";
  text += "<div style=\"height:30px;background:rgb(220,20,20)\"></div>\n\n";
  const auto document = plugin.writeFile("long.md", text);

  PictureInfoRecord record{};
  ASSERT_EQ(plugin.getPictureInfoW(document.u16string().c_str(), 0, 0, &record), 0);
  EXPECT_EQ(record.pixelWidth, 400);
  EXPECT_GT(record.pixelHeight, 3000);
  HandedOverPicture result;
  ASSERT_EQ(picture(document, result), 0);
  EXPECT_EQ(result.header.width, record.pixelWidth);
  ASSERT_EQ(result.header.height, record.pixelHeight);
  // The marker closes the page: its last row is the picture's last.
  const int bottom = result.header.height - 1;
  expectColourAt(result, 10, bottom, {220, 20, 20});
  expectColourAt(result, 399, bottom - 29, {220, 20, 20});
  expectColourAt(result, 10, bottom - 30, {255, 255, 255});
  expectNothingLeft();
}

TEST_F(DevToolsBrowserTest, TwoPicturesAtOnce) {
  useEngine("width=64\nheight=48\n");
  const Colour colours[] = {{255, 0, 0}, {0, 0, 255}};
  const std::array<std::filesystem::path, 2> pages = {
      plugin.writeFile("page0/page.html", plainPage(colours[0])),
      plugin.writeFile("page1/page.html", plainPage(colours[1]))};
  std::array<HandedOverPicture, 2> results;
  const std::array<int, 2> codes = plugin.picturesAtOnce(pages, results);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(codes[i], 0) << i;
    expectColourAt(results[i], 0, 0, colours[i]);
    expectColourAt(results[i], 63, 47, colours[i]);
  }
  expectNothingLeft();
}

const std::string kEndlessPage =
    "<html><body><script>for (;;) {}</script>a page that never finishes loading</body></html>\n";

TEST_F(DevToolsBrowserTest, PageThatNeverLoadsEndsAtTheLimit) {
  useEngine("width=64\nheight=48\n", 3);
  const auto page = plugin.writeFile("endless.html", kEndlessPage);
  const Clock::time_point start = Clock::now();
  HandedOverPicture result;
  EXPECT_EQ(picture(page, result), 6);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(5));
  expectNothingLeft();
}

TEST_F(DevToolsBrowserTest, BrowserKilledDuringThePicture) {
  useEngine("width=64\nheight=48\n");
  const auto page = plugin.writeFile("endless.html", kEndlessPage);
  int code = -1;
  HandedOverPicture result;
  const Clock::time_point start = Clock::now();
  std::thread viewer([&] { code = picture(page, result); });
  // The browser is the process started with this test's profile folder; give it time to load.
  std::this_thread::sleep_for(std::chrono::seconds(3));
  for (const int pid : processesNaming("--remote-debugging-pipe")) {
    const std::string commandLine = commandLineOf(pid);
    if (commandLine.find(temporary_.path().string()) != std::string::npos &&
        commandLine.find("chromium-headless") == std::string::npos) {
      kill(pid, SIGKILL);
    }
  }
  viewer.join();
  EXPECT_EQ(code, 6);
  EXPECT_LT(Clock::now() - start, std::chrono::seconds(20));
  expectNothingLeft();
}

}  // namespace
}  // namespace ondrel::test
