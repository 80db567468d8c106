// The plug-in as a viewer sees it: the module loaded from its own folder, its
// ten entry points called with files, memory images and settings files, and a
// fake browser standing in for the real one.

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <thread>

#include "platform/files.h"
#include "platform/host_support.h"
#include "platform/process_identity.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/file_position.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;

std::string htmlPage(int seed) {
  return "<html><body style=\"margin:0\">seed:" + std::to_string(seed) +
         "</body></html>\n<!-- padding to the sixty-four bytes a picture needs -->\n";
}

std::string markdownDocument(int seed) {
  return "# Notes\r\n\r\nseed:" + std::to_string(seed) +
         " and snake_case_name, long enough for a picture\r\n";
}

std::string svgDrawing(const std::string& width, const std::string& height) {
  return "<?xml version=\"1.0\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + width +
         "\" height=\"" + height + "\"><rect width=\"10\" height=\"10\"/></svg>\n";
}

// The browser's arguments, less the switch that keeps an elevated caller's
// browser elevated; that switch is checked here against the process's own
// elevation (every process under wine reads as elevated).
std::vector<std::string> argumentsOf(const BrowserRun& run) {
  std::vector<std::string> args = run.args;
  const bool keepsElevation = args.size() > 1 && args[1] == "--do-not-de-elevate";
  EXPECT_EQ(keepsElevation, platform::runsFullyElevated());
  if (keepsElevation) args.erase(args.begin() + 1);
  return args;
}

class ExportsTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_TRUE(plugin.leftovers().empty()) << "temporary files left behind";
    EXPECT_FALSE(std::filesystem::exists(plugin.captureFolder()));
  }

  std::u16string page(const std::string& name, const std::string& bytes) {
    return plugin.writeFile(name, bytes).u16string();
  }

  int picture(const std::u16string& name, HandedOverPicture* result = nullptr) {
    platform::BlockHandle header = nullptr;
    platform::BlockHandle pixels = nullptr;
    const int code = plugin.getPictureW(name.c_str(), 0, 0, &header, &pixels, nullptr, 0);
    if (code == 0) {
      HandedOverPicture taken = HandedOverPicture::takeOver(header, pixels);
      if (result != nullptr) *result = std::move(taken);
    }
    return code;
  }

  PictureInfoRecord info(const std::u16string& name, int* code, std::intptr_t offset = 0) {
    PictureInfoRecord record;
    std::memset(&record, 0xAB, sizeof record);
    *code = plugin.getPictureInfoW(name.c_str(), offset, 0, &record);
    return record;
  }

  platform::ComApartment com;
  PluginModule plugin;
};

// Information strings.

TEST_F(ExportsTest, InformationStringsAnswerEvenWithoutSettings) {
  plugin.removeSettings();
  const std::pair<int, std::u16string> expected[] = {
      {0, u"00IN"},
      {1, u"ondrel by Qorv"},
      {2, u"*.html;*.htm;*.md;*.svg"},
      {3, u"html\u30D5\u30A1\u30A4\u30EB"},
  };
  for (const auto& [index, text] : expected) {
    char16_t buffer[64] = {};
    EXPECT_EQ(plugin.getPluginInfoW(index, buffer, 64), int(text.size())) << index;
    EXPECT_EQ(std::u16string(buffer), text) << index;
  }
}

TEST_F(ExportsTest, UnknownInformationIndexLeavesTheBufferAlone) {
  for (const int index : {-1, 4, 100}) {
    char16_t buffer[8] = u"keep";
    EXPECT_EQ(plugin.getPluginInfoW(index, buffer, 8), 0);
    EXPECT_EQ(std::u16string(buffer), u"keep");
    char narrow[8] = "keep";
    EXPECT_EQ(plugin.getPluginInfo(index, narrow, 8), 0);
    EXPECT_STREQ(narrow, "keep");
  }
}

TEST_F(ExportsTest, PatternListFollowsTheSvgSetting) {
  const std::pair<const char*, int> cases[] = {{"on", 23},  {"On", 23}, {"ON", 23},  {"off", 17},
                                               {"OFF", 17}, {"1", 17},  {"yes", 17}, {"", 17}};
  for (const auto& [value, length] : cases) {
    plugin.writeSettings(std::string("[SystemSetting]\nSVG=") + value + "\n");
    char16_t buffer[64] = {};
    EXPECT_EQ(plugin.getPluginInfoW(2, buffer, 64), length) << "SVG=" << value;
  }
}

TEST_F(ExportsTest, InformationIsCutToSmallBuffers) {
  char16_t wide[8] = {};
  EXPECT_EQ(plugin.getPluginInfoW(1, wide, 6), 5);
  EXPECT_EQ(std::u16string(wide), u"ondre");
  char narrow[8] = {};
  EXPECT_EQ(plugin.getPluginInfo(1, narrow, 6), 5);
  EXPECT_STREQ(narrow, "ondre");
  EXPECT_EQ(plugin.getPluginInfoW(1, wide, 0), 0);
}

TEST_F(ExportsTest, AnsiInformationStrings) {
  char buffer[64] = {};
  EXPECT_EQ(plugin.getPluginInfo(0, buffer, 64), 4);
  EXPECT_STREQ(buffer, "00IN");
  EXPECT_EQ(plugin.getPluginInfo(2, buffer, 64), 23);
  EXPECT_STREQ(buffer, "*.html;*.htm;*.md;*.svg");
  EXPECT_GT(plugin.getPluginInfo(3, buffer, 64), 4);
  EXPECT_EQ(std::string(buffer).substr(0, 4), "html");
}

// Acceptance.

TEST_F(ExportsTest, NothingIsTakenWithoutAnExistingBrowser) {
  const char head[64] = {};
  const auto pointer = reinterpret_cast<std::uintptr_t>(head);
  plugin.removeSettings();
  EXPECT_EQ(plugin.isSupportedW(u"page.html", pointer), 0);
  plugin.writeSettings("[SystemSetting]\nChrome=" + (plugin.folder() / "no-such-browser").string());
  EXPECT_EQ(plugin.isSupportedW(u"page.html", pointer), 0);
  plugin.writeSettings("[SystemSetting]\nChrome=\n");
  EXPECT_EQ(plugin.isSupportedW(u"page.html", pointer), 0);
}

TEST_F(ExportsTest, ExtensionsDecideAcceptance) {
  plugin.useFakeBrowser();
  const char head[64] = {};
  const auto pointer = reinterpret_cast<std::uintptr_t>(head);
  const std::pair<const char16_t*, int> cases[] = {
      {u"page.HTM", 1},      {u"notes.Md", 1},    {u"a.b.html", 1},     {u"drawing.svg", 1},
      {u"page.html.bak", 0}, {u"noextension", 0}, {u"trailingdot.", 0}, {u"picture.png", 0},
      {u"page.htmlx", 0},    {u"page.xhtml", 0},
  };
  for (const auto& [name, accepted] : cases) {
    EXPECT_EQ(plugin.isSupportedW(name, pointer), accepted) << std::string(name, name + 3);
  }
  EXPECT_EQ(plugin.isSupported("page.html", pointer), 1);
  EXPECT_EQ(plugin.isSupported("page.txt", pointer), 0);
}

TEST_F(ExportsTest, SvgDrawingsAreTakenOnlyWhileSvgIsOn) {
  const char head[64] = {};
  const auto pointer = reinterpret_cast<std::uintptr_t>(head);
  for (const auto& [line, accepted] :
       {std::pair{"SVG=on\n", 1}, {"SVG=off\n", 0}, {"SVG=1\n", 0}, {"SVG=\n", 0}, {"", 1}}) {
    plugin.useFakeBrowser(line);
    EXPECT_EQ(plugin.isSupportedW(u"drawing.SVG", pointer), accepted) << line;
  }
}

TEST_F(ExportsTest, AHandleHasItsHeadReadButNotLookedAt) {
  plugin.useFakeBrowser();
  const auto path = plugin.writeFile("head.bin", std::string(200, 'x')).u16string();
  std::optional<platform::ReadableFile> file = platform::ReadableFile::open(path);
  ASSERT_TRUE(file);
  ASSERT_EQ(file->nativeHandle() & 0xFFFF0000u, 0u) << "the handle would be taken for a pointer";
  EXPECT_EQ(plugin.isSupportedW(u"page.HTML", file->nativeHandle()), 1);
  EXPECT_EQ(filePosition(*file), 64);
  // A handle whose read fails answers no, whatever the name.
  EXPECT_EQ(plugin.isSupportedW(u"page.html", 0xFFFF), 0);
}

TEST_F(ExportsTest, AnsiNamesTooLongForTheirBufferAreNotTaken) {
  plugin.useFakeBrowser();
  const char head[64] = {};
  const std::string longName = std::string(300, 'a') + ".html";
  EXPECT_EQ(plugin.isSupported(longName.c_str(), reinterpret_cast<std::uintptr_t>(head)), 0);
}

// Picture information.

TEST_F(ExportsTest, InformationOfAFileIsTheSettingsSize) {
  plugin.useFakeBrowser();
  int code = -1;
  const PictureInfoRecord record = info(page("tiny.html", "<p>tiny</p>"), &code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(record.left, 0);
  EXPECT_EQ(record.top, 0);
  EXPECT_EQ(record.pixelWidth, 640);
  EXPECT_EQ(record.pixelHeight, 480);
  EXPECT_EQ(record.densityX, 0);
  EXPECT_EQ(record.densityY, 0);
  EXPECT_EQ(record.bitsPerPixel, 24);
  EXPECT_EQ(record.textHandle, nullptr);
  const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
  EXPECT_EQ(bytes[22], 0xAB) << "the alignment gap is not part of the record";
  EXPECT_EQ(bytes[23], 0xAB);
}

TEST_F(ExportsTest, InformationSizeComesFromTheSettings) {
  const auto name = page("sized.htm", htmlPage(1));
  const std::tuple<const char*, int, int> cases[] = {
      {"width=800\nheight=300\n", 800, 300},
      {"width=0\nheight=0\n", 640, 480},  // no active window here
      {"width=0\nheight=300\n", 640, 300},
      {"width=-5\nheight=7\n", -5, 7},
  };
  for (const auto& [lines, width, height] : cases) {
    plugin.useFakeBrowser(lines);
    int code = -1;
    const PictureInfoRecord record = info(name, &code);
    ASSERT_EQ(code, 0) << lines;
    EXPECT_EQ(record.pixelWidth, width) << lines;
    EXPECT_EQ(record.pixelHeight, height) << lines;
  }
}

TEST_F(ExportsTest, InformationInMemoryMode) {
  plugin.useFakeBrowser();
  const std::string html = htmlPage(1);
  PictureInfoRecord record{};
  EXPECT_EQ(plugin.getPictureInfoW(reinterpret_cast<const char16_t*>(html.data()), 10, 1, &record),
            2);
  EXPECT_EQ(plugin.getPictureInfoW(reinterpret_cast<const char16_t*>(html.data()),
                                   std::intptr_t(html.size()), 0x9, &record),
            0);
  EXPECT_EQ(record.pixelWidth, 640);
  // Only the low three bits choose the mode: 0x10 is a file.
  const auto name = page("mode.html", html);
  EXPECT_EQ(plugin.getPictureInfoW(name.c_str(), 0, 0x10, &record), 0);
  // A memory image counts as an SVG drawing while SVG is on.
  const std::string svg = svgDrawing("100.2", "50");
  EXPECT_EQ(plugin.getPictureInfo(svg.data(), std::intptr_t(svg.size()), 1, &record), 0);
  EXPECT_EQ(record.pixelWidth, 101);
  EXPECT_EQ(record.pixelHeight, 50);
}

TEST_F(ExportsTest, SvgInformationIsTheDrawingsSize) {
  const auto name = page("drawing.SVG", svgDrawing("100.2", "50"));
  plugin.useFakeBrowser();
  int code = -1;
  PictureInfoRecord record = info(name, &code);
  ASSERT_EQ(code, 0);
  EXPECT_EQ(record.pixelWidth, 101);
  EXPECT_EQ(record.pixelHeight, 50);

  // An HTML file is never measured, whatever it holds.
  record = info(page("drawing.html", svgDrawing("300", "200")), &code);
  EXPECT_EQ(record.pixelWidth, 640);

  plugin.useFakeBrowser("SVG=off\n");
  info(name, &code);
  EXPECT_EQ(code, 2);
}

TEST_F(ExportsTest, InformationFailures) {
  plugin.useFakeBrowser();
  const auto name = page("short.html", "0123456789");
  int code = -1;
  info(name, &code, 5);
  EXPECT_EQ(code, 0);
  info(name, &code, 11);
  EXPECT_EQ(code, 2) << "an offset past the end";
  info((plugin.folder() / "missing.html").u16string(), &code);
  EXPECT_EQ(code, 6);
  info(page("text.txt", "0123456789"), &code);
  EXPECT_EQ(code, 2);
  info(std::u16string(300, u'a') + u".html", &code);
  EXPECT_EQ(code, 6) << "a name longer than a path buffer";
  const std::string narrow = (plugin.folder() / "short.html").string();
  PictureInfoRecord record{};
  EXPECT_EQ(plugin.getPictureInfo(narrow.c_str(), 0, 0, &record), 0);
}

// Pictures.

TEST_F(ExportsTest, HtmlPictureIsThePatternBottomUp) {
  plugin.useFakeBrowser();
  const auto name = page("page.html", htmlPage(37));
  HandedOverPicture picture;
  ASSERT_EQ(this->picture(name, &picture), 0);

  EXPECT_EQ(picture.headerBlockSize, 40u);
  EXPECT_EQ(picture.header.size, 40u);
  EXPECT_EQ(picture.header.width, 640);
  EXPECT_EQ(picture.header.height, 480);
  EXPECT_EQ(picture.header.planes, 1);
  EXPECT_EQ(picture.header.bitCount, 24);
  EXPECT_EQ(picture.header.compression, 0u);
  EXPECT_EQ(picture.header.sizeImage, 0u);
  EXPECT_EQ(picture.header.clrUsed, 0u);
  ASSERT_EQ(picture.pixels.size(), 921600u);
  // The first row in the block is the bottom row of the page.
  EXPECT_EQ(picture.pixels[0], 0);          // blue = x
  EXPECT_EQ(picture.pixels[1], 479 % 256);  // green = y
  EXPECT_EQ(picture.pixels[2], 37);         // red = the page's seed
  EXPECT_EQ(differenceFromPattern(picture, 640, 480, 37), "");

  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  const std::vector<std::string> args = argumentsOf(runs[0]);
  ASSERT_EQ(args.size(), 6u);
  EXPECT_EQ(args[0], "--headless");
  EXPECT_EQ(args[1], "--disable-extensions");
  EXPECT_EQ(args[2], "--hide-scrollbars");
  EXPECT_EQ(args[3], "--window-size=640,480");
  const std::filesystem::path screenshot = args[4].substr(std::strlen("--screenshot="));
  EXPECT_EQ(screenshot.parent_path(), plugin.captureFolder());
  EXPECT_EQ(screenshot.filename().string().substr(0, 5), "page-");
  EXPECT_EQ(screenshot.extension(), ".png");
  EXPECT_EQ(std::filesystem::path(args[5]), plugin.folder() / "page.html");
  EXPECT_EQ(std::filesystem::path(runs[0].cwd), plugin.captureFolder());
}

TEST_F(ExportsTest, RowsArePaddedToFourBytes) {
  const auto name = page("odd.html", htmlPage(5));
  const std::tuple<int, int, std::size_t> cases[] = {
      {641, 3, 1924}, {1, 2, 4}, {2, 2, 8}, {3, 1, 12}};
  for (const auto& [width, height, stride] : cases) {
    plugin.useFakeBrowser("width=" + std::to_string(width) + "\nheight=" + std::to_string(height));
    HandedOverPicture picture;
    ASSERT_EQ(this->picture(name, &picture), 0) << width;
    EXPECT_EQ(picture.stride(), stride);
    EXPECT_EQ(picture.pixels.size(), stride * std::size_t(height));
    EXPECT_EQ(differenceFromPattern(picture, width, height, 5), "") << width;
  }
}

TEST_F(ExportsTest, ScrollBarsOnGiveTheShortCommandLine) {
  plugin.useFakeBrowser("scrollBar=on\n");
  ASSERT_EQ(picture(page("page.htm", htmlPage(1))), 0);
  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  const std::vector<std::string> args = argumentsOf(runs[0]);
  ASSERT_EQ(args.size(), 4u);
  EXPECT_EQ(args[0], "--headless");
  EXPECT_EQ(args[1], "--window-size=640,480");
}

TEST_F(ExportsTest, PreviewAndAnsiFormsGiveThePicture) {
  plugin.useFakeBrowser("width=20\nheight=10\n");
  const auto path = plugin.writeFile("preview.html", htmlPage(99));
  const std::string narrow = path.string();
  platform::BlockHandle header = nullptr;
  platform::BlockHandle pixels = nullptr;
  ASSERT_EQ(plugin.getPreviewW(path.u16string().c_str(), 0, 0, &header, &pixels, nullptr, 0), 0);
  EXPECT_EQ(differenceFromPattern(HandedOverPicture::takeOver(header, pixels), 20, 10, 99), "");
  ASSERT_EQ(plugin.getPicture(narrow.c_str(), 0, 0, &header, &pixels, nullptr, 0), 0);
  EXPECT_EQ(differenceFromPattern(HandedOverPicture::takeOver(header, pixels), 20, 10, 99), "");
  ASSERT_EQ(plugin.getPreview(narrow.c_str(), 0, 0, &header, &pixels, nullptr, 0), 0);
  EXPECT_EQ(differenceFromPattern(HandedOverPicture::takeOver(header, pixels), 20, 10, 99), "");
}

TEST_F(ExportsTest, RejectedRequestsNeverStartTheBrowser) {
  plugin.useFakeBrowser();
  const std::string html = htmlPage(1);
  EXPECT_EQ(picture(page("short.html", std::string(63, 'x'))), 2);
  EXPECT_EQ(picture(page("text.txt", html)), 2);
  platform::BlockHandle header = reinterpret_cast<platform::BlockHandle>(0x1234);
  platform::BlockHandle pixels = header;
  const auto longPage = page("offset.html", html);
  EXPECT_EQ(plugin.getPictureW(longPage.c_str(), std::intptr_t(html.size()) - 63, 0, &header,
                               &pixels, nullptr, 0),
            2);
  // A memory image has no name to show the browser.
  EXPECT_EQ(plugin.getPictureW(reinterpret_cast<const char16_t*>(html.data()),
                               std::intptr_t(html.size()), 1, &header, &pixels, nullptr, 0),
            2);
  EXPECT_EQ(header, reinterpret_cast<platform::BlockHandle>(0x1234)) << "handles were touched";
  EXPECT_EQ(pixels, reinterpret_cast<platform::BlockHandle>(0x1234));
  plugin.removeSettings();
  EXPECT_EQ(picture(page("page.html", html)), 2);
  EXPECT_TRUE(plugin.browserRuns().empty());

  plugin.useFakeBrowser();
  EXPECT_EQ(picture(page("exact.html", std::string(64, 'x'))), 0) << "64 bytes are enough";
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
}

TEST_F(ExportsTest, PicturesTooLargeForTheViewerAreRefusedBeforeTheBrowser) {
  const auto html = page("huge.html", htmlPage(1));
  for (const char* size : {"width=100000\nheight=100000\n", "width=-640\n", "height=-1\n",
                           "width=2147483647\nheight=2147483647\n"}) {
    plugin.useFakeBrowser(size);
    EXPECT_EQ(picture(html), 4) << size;
  }
  plugin.useFakeBrowser();
  EXPECT_EQ(picture(page("huge.svg", svgDrawing("1e12", "10"))), 4);
  EXPECT_TRUE(plugin.browserRuns().empty());
}

TEST_F(ExportsTest, FailedCapturesGiveSixAndLeaveNothing) {
  const auto name = page("page.html", htmlPage(1));
  plugin.useFakeBrowser();
  for (const char* mode : {"no-screenshot", "not-png", "truncated-png"}) {
    plugin.setBrowserMode(mode);
    EXPECT_EQ(picture(name), 6) << mode;
    EXPECT_TRUE(plugin.leftovers().empty()) << mode;
  }
  // A browser setting that names a folder passes acceptance but cannot start.
  plugin.writeSettings("[SystemSetting]\nChrome=" + plugin.folder().string() + "\n");
  EXPECT_EQ(picture(name), 6);
  EXPECT_EQ(picture(std::u16string(300, u'a') + u".html"), 6);
}

TEST_F(ExportsTest, HangingBrowserIsStoppedAtTheLimit) {
  const auto name = page("page.html", htmlPage(1));
  plugin.useFakeBrowser("waitTime=1\n");
  plugin.setBrowserMode("hang");
  const auto start = Clock::now();
  EXPECT_EQ(picture(name), 6);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(1000));
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
}

TEST_F(ExportsTest, DefaultLimitIsFiveSeconds) {
  const auto name = page("page.html", htmlPage(1));
  plugin.useFakeBrowser();
  plugin.setBrowserMode("hang");
  const auto start = Clock::now();
  EXPECT_EQ(picture(name), 6);
  EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(5000));
}

TEST_F(ExportsTest, ScreenshotsOfTheWrongSizeAreCutOrFilledWithBlack) {
  const auto name = page("page.html", htmlPage(3));
  plugin.useFakeBrowser("width=40\nheight=30\n");
  plugin.setBrowserMode("larger");
  HandedOverPicture picture;
  ASSERT_EQ(this->picture(name, &picture), 0);
  EXPECT_EQ(picture.header.width, 40);
  EXPECT_EQ(differenceFromPattern(picture, 40, 30, 3), "");

  plugin.setBrowserMode("smaller");
  ASSERT_EQ(this->picture(name, &picture), 0);
  EXPECT_EQ(differenceFromPattern(picture, 20, 15, 3), "");
  const Bgra black{0, 0, 0, 255};
  EXPECT_EQ(picture.at(39, 0), black);
  EXPECT_EQ(picture.at(0, 29), black);
  EXPECT_EQ(picture.at(20, 15), black);
}

TEST_F(ExportsTest, SvgPictureHasTheDrawingsSize) {
  plugin.useFakeBrowser();
  HandedOverPicture picture;
  ASSERT_EQ(this->picture(page("drawing.SVG", svgDrawing("100.2", "50")), &picture), 0);
  EXPECT_EQ(picture.header.width, 101);
  EXPECT_EQ(picture.header.height, 50);
  ASSERT_EQ(plugin.browserRuns().size(), 1u);
  EXPECT_EQ(argumentsOf(plugin.browserRuns()[0])[3], "--window-size=101,50");
}

TEST_F(ExportsTest, MarkdownIsStagedAsHtmlAndShownInTheShortForm) {
  plugin.useFakeBrowser("scrollBar=off\nwidth=16\nheight=8\n");
  HandedOverPicture picture;
  ASSERT_EQ(this->picture(page("notes.MD", markdownDocument(42)), &picture), 0);
  // The fake browser found the seed in the staged page, so it showed that page.
  EXPECT_EQ(differenceFromPattern(picture, 16, 8, 42), "");
  const std::vector<BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 1u);
  const std::vector<std::string> args = argumentsOf(runs[0]);
  ASSERT_EQ(args.size(), 4u);
  EXPECT_EQ(args[1], "--window-size=16,8");
  const std::filesystem::path staged = args[3];
  EXPECT_EQ(staged.parent_path(), plugin.captureFolder());
  EXPECT_EQ(staged.filename().string().substr(0, 6), "notes-");
  EXPECT_EQ(staged.extension(), ".htm");
}

TEST_F(ExportsTest, ConcurrentCapturesOfPagesWithTheSameNameKeepTheirOwnPictures) {
  plugin.useFakeBrowser("width=32\nheight=16\n");
  plugin.setBrowserDelay(400);
  const std::u16string names[] = {
      page("one/README.md", markdownDocument(11)), page("two/README.md", markdownDocument(22)),
      page("three/README.html", htmlPage(33)), page("four/README.html", htmlPage(44))};
  const std::uint8_t seeds[] = {11, 22, 33, 44};
  int codes[4] = {-1, -1, -1, -1};
  HandedOverPicture pictures[4];
  std::vector<std::thread> threads;
  for (int i = 0; i < 4; ++i) {
    threads.emplace_back([&, i] {
      const platform::ComApartment threadCom;
      codes[i] = picture(names[i], &pictures[i]);
    });
  }
  for (std::thread& thread : threads) thread.join();
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(codes[i], 0) << i;
    EXPECT_EQ(differenceFromPattern(pictures[i], 32, 16, seeds[i]), "") << i;
  }
  EXPECT_EQ(plugin.browserRuns().size(), 4u);
}

TEST_F(ExportsTest, ACaptureThatEndsFirstLeavesTheOthersFolderAlone) {
  plugin.useFakeBrowser("width=8\nheight=8\n");
  const std::u16string quick = page("quick/page.html", htmlPage(1));
  const std::u16string slow = page("slow/page.html", htmlPage(2) + "pause:800");
  int codes[2] = {-1, -1};
  std::thread slowCapture([&] {
    const platform::ComApartment threadCom;
    codes[1] = picture(slow);
  });
  codes[0] = picture(quick);
  slowCapture.join();
  EXPECT_EQ(codes[0], 0);
  EXPECT_EQ(codes[1], 0) << "the slow capture lost its folder";
}

TEST_F(ExportsTest, WithoutComOnTheCallingThreadThereIsNoPicture) {
  plugin.useFakeBrowser("width=8\nheight=8\n");
  const auto name = page("page.html", htmlPage(1));
  int code = -1;
  std::thread([&] { code = picture(name); }).join();
  EXPECT_EQ(code, platform::screenshotDecoderNeedsCom() ? 6 : 0);
}

}  // namespace
}  // namespace ondrel::test
