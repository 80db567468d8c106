// The plug-in with Debian's Chromium behind it, started through the wrapper
// script the settings name: real pages, real screenshots. Every page paints
// known colours at known places, so a picture that is blank, cut, shifted or
// of the wrong page shows.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <thread>

#include "platform/host_support.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;

class RealBrowserTest : public ::testing::Test {
 protected:
  // The module's own test folder is too deep for the browser's socket names
  // (the wrapper then keeps its files in /tmp), so tests that look for
  // leftovers point the temporary folder at a shallow one.
  void useShallowTemporaryFolder() { temporary_.emplace("ondrel-browser-"); }

  // Chromium starts slowly on a small machine: the limit is generous.
  void useChromium(const std::string& extraLines, int waitSeconds = 30) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER "\nwaitTime=" +
                         std::to_string(waitSeconds) + "\n" + extraLines);
  }

  int picture(const std::filesystem::path& page, HandedOverPicture& result) {
    return plugin.picture(page, &result);
  }

  // The page's picture, which must be `width` by `height`.
  void pictureOfSize(const std::filesystem::path& page, int width, int height,
                     HandedOverPicture& result) {
    ASSERT_EQ(picture(page, result), 0);
    ASSERT_EQ(result.header.width, width);
    ASSERT_EQ(result.header.height, height);
  }

  // Whatever is left in the temporary folder: the capture's own files and
  // the browser's profile, sockets and crash database.
  std::vector<std::string> temporaryLeftovers() const { return temporary_->entries(); }

  PluginModule plugin;
  std::optional<ShallowTemporaryFolder> temporary_;
};

TEST_F(RealBrowserTest, HtmlPageAtTheWindowSize) {
  useShallowTemporaryFolder();
  useChromium("width=320\nheight=200\n");
  const auto page =
      plugin.writeFile("page.html",
                       "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\">"
                       "<div style=\"position:absolute;left:40px;top:30px;width:100px;height:60px;"
                       "background:rgb(200,30,60)\"></div>"
                       "<div style=\"position:absolute;left:0;top:180px;width:320px;height:20px;"
                       "background:rgb(20,110,220)\"></div></body></html>\n");
  HandedOverPicture result;
  ASSERT_NO_FATAL_FAILURE(pictureOfSize(page, 320, 200, result));
  expectColourAt(result, 40, 30, {200, 30, 60});
  expectColourAt(result, 139, 89, {200, 30, 60});
  expectColourAt(result, 140, 90, kWhite);
  expectColourAt(result, 39, 29, kWhite);
  // The bottom band proves the rows are in order and the picture is whole.
  expectColourAt(result, 0, 199, {20, 110, 220});
  expectColourAt(result, 319, 180, {20, 110, 220});
  expectColourAt(result, 319, 179, kWhite);
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// Left with the module's deep temporary folder, which the wrapper must cope with.
TEST_F(RealBrowserTest, SvgDrawingAtItsOwnSize) {
  useChromium("width=640\nheight=480\n");
  const auto drawing = plugin.writeFile(
      "drawing.svg",
      "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"150\" height=\"200\">"
      "<rect width=\"75\" height=\"200\" fill=\"rgb(30,144,255)\"/>"
      "<rect x=\"75\" width=\"75\" height=\"200\" fill=\"rgb(255,165,0)\"/></svg>\n");
  PictureInfoRecord record{};
  ASSERT_EQ(plugin.getPictureInfoW(drawing.u16string().c_str(), 0, 0, &record), 0);
  EXPECT_EQ(record.pixelWidth, 150);
  EXPECT_EQ(record.pixelHeight, 200);

  HandedOverPicture result;

  ASSERT_NO_FATAL_FAILURE(pictureOfSize(drawing, 150, 200, result));
  // The drawing fills the picture exactly: no margin, nothing cut.
  expectColourAt(result, 0, 0, {30, 144, 255});
  expectColourAt(result, 74, 199, {30, 144, 255});
  expectColourAt(result, 75, 0, {255, 165, 0});
  expectColourAt(result, 149, 199, {255, 165, 0});
}

// Each notation gets a background of its own from the document's style
// sheet, so its colour shows only when the converter made that element.
TEST_F(RealBrowserTest, MarkdownDocumentIsConvertedAndShown) {
  useShallowTemporaryFolder();
  useChromium("width=400\nheight=600\nscrollBar=off\n");
  const auto document = plugin.writeFile(
      "notes.md",
      "<style>body{margin:0} h1{background:rgb(250,200,0)} ul{background:rgb(0,160,80)}"
      " td{background:rgb(120,60,200)} pre{background:rgb(0,200,220)}</style>\r\n"
      "\r\n"
      "# A headline\r\n"
      "\r\n"
      "- one\r\n"
      "- two with snake_case_name\r\n"
      "\r\n"
      "|table>\r\n"
      "a|b\r\n"
      "|<table\r\n"
      "\r\n"
      "```cpp\r\n"
      "int answer = 42;\r\n"
      "```\r\n"
      "\r\n"
      "<div style=\"position:absolute;left:300px;top:500px;width:50px;height:40px;"
      "background:rgb(220,20,20)\"></div>\r\n"
      "\r\n");
  HandedOverPicture result;
  ASSERT_NO_FATAL_FAILURE(pictureOfSize(document, 400, 600, result));
  const std::map<std::string, Colour> elements = {
      {"headline", {250, 200, 0}},
      {"list", {0, 160, 80}},
      {"table cell", {120, 60, 200}},
      {"code block", {0, 200, 220}},
  };
  for (const auto& [element, colour] : elements) {
    EXPECT_GT(pixelsNear(result, colour), 200) << "no " << element;
  }
  // The raw HTML block sits where its style puts it.
  expectColourAt(result, 300, 500, {220, 20, 20});
  expectColourAt(result, 349, 539, {220, 20, 20});
  expectColourAt(result, 299, 499, kWhite);
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// With markdown=GFM a pipe table is a real table in the built-in style: one band of the head's
// shade right under the paragraph before it, from the page's left padding, then a white first
// row and a striped second one. The built-in converter leaves the same lines a paragraph of pipes.
TEST_F(RealBrowserTest, GfmPipeTableShowsItsShadedHeadRowOnTop) {
  useShallowTemporaryFolder();
  useChromium("width=400\nheight=300\nmarkdown=GFM\n");
  const auto document = plugin.writeFile("table.md",
                                         "Before the table.\r\n"
                                         "\r\n"
                                         "| Name | Count |\r\n"
                                         "|:-----|------:|\r\n"
                                         "| apples | 3 |\r\n"
                                         "| pears | 5 |\r\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(document, result), 0);
  ASSERT_EQ(result.header.width, 400);
  ASSERT_EQ(result.header.height, 300);

  constexpr Colour kHeadShade{234, 238, 242};  // thead tr in capture/gfm_style.css
  constexpr Colour kStripe{246, 248, 250};     // every second body row
  const auto countInRow = [&](int y, const Colour& colour) {
    int count = 0;
    for (int x = 0; x < result.header.width; ++x) count += near(result.at(x, y), colour);
    return count;
  };
  std::vector<int> headRows;
  for (int y = 0; y < result.header.height; ++y) {
    if (countInRow(y, kHeadShade) > 40) headRows.push_back(y);
  }
  ASSERT_FALSE(headRows.empty()) << "no shaded head row";
  const int top = headRows.front();
  const int bottom = headRows.back();
  EXPECT_EQ(bottom - top + 1, static_cast<int>(headRows.size())) << "the shade is not one band";
  EXPECT_GE(bottom - top + 1, 20);
  EXPECT_LE(bottom - top + 1, 60);
  // The paragraph's text lies above the band, and the band is the table's first row.
  int textRows = 0;
  for (int y = 0; y < top; ++y) textRows += countInRow(y, kWhite) < result.header.width - 20;
  EXPECT_GT(textRows, 5) << "nothing drawn above the head row at " << top;
  EXPECT_LT(top, 120);
  const int middle = (top + bottom) / 2;
  int left = 0;
  while (left < result.header.width && !near(result.at(left, middle), kHeadShade)) ++left;
  EXPECT_GE(left, 28);
  EXPECT_LE(left, 40);
  // Below the head: a white row, then a striped one.
  const int rowHeight = bottom - top + 1;
  EXPECT_EQ(countInRow(bottom + rowHeight / 2, kHeadShade), 0);
  EXPECT_TRUE(near(result.at(left + 2, bottom + rowHeight / 2), kWhite));
  EXPECT_TRUE(near(result.at(left + 2, bottom + rowHeight + rowHeight / 2), kStripe))
      << describe(result.at(left + 2, bottom + rowHeight + rowHeight / 2));

  useChromium("width=400\nheight=300\n");
  ASSERT_EQ(picture(document, result), 0);
  for (int y = 0; y < result.header.height; ++y) {
    ASSERT_EQ(countInRow(y, kHeadShade), 0) << "the built-in converter made a table head";
  }
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// With markdown=GFM a quote marked [!CAUTION] is an alert: a bar of the kind's red down its
// left side, from the page's left padding, and its title in the same red; a [!NOTE] below it
// has a blue bar, and a plain quote keeps its grey one. The built-in converter draws no alert.
TEST_F(RealBrowserTest, GfmAlertsShowTheirKindsColours) {
  useShallowTemporaryFolder();
  useChromium("width=400\nheight=300\nmarkdown=GFM\n");
  const auto document = plugin.writeFile("alerts.md",
                                         "> [!CAUTION]\r\n"
                                         "> Careful with this.\r\n"
                                         "\r\n"
                                         "> [!NOTE]\r\n"
                                         "> Worth knowing.\r\n"
                                         "\r\n"
                                         "> A plain quote.\r\n");
  HandedOverPicture result;
  ASSERT_NO_FATAL_FAILURE(pictureOfSize(document, 400, 300, result));

  constexpr Colour kCautionRed{209, 36, 47};   // .markdown-alert-caution in gfm_style.css
  constexpr Colour kNoteBlue{9, 105, 218};     // .markdown-alert-note
  constexpr Colour kQuoteGrey{209, 217, 224};  // blockquote's bar
  constexpr int kBar = 33;                     // in the 4-px bar after the 32-px padding
  const auto barRows = [&](const Colour& colour) {
    std::vector<int> rows;
    for (int y = 0; y < result.header.height; ++y) {
      if (near(result.at(kBar, y), colour)) rows.push_back(y);
    }
    return rows;
  };
  const std::vector<int> red = barRows(kCautionRed);
  const std::vector<int> blue = barRows(kNoteBlue);
  const std::vector<int> grey = barRows(kQuoteGrey);
  ASSERT_GE(red.size(), 50u) << "no red bar";
  ASSERT_GE(blue.size(), 50u) << "no blue bar";
  ASSERT_GE(grey.size(), 15u) << "no grey bar";
  EXPECT_EQ(red.back() - red.front() + 1, static_cast<int>(red.size())) << "broken red bar";
  EXPECT_LT(red.back(), blue.front());
  EXPECT_LT(blue.back(), grey.front());
  EXPECT_TRUE(near(result.at(kBar - 3, red.front() + 10), kWhite)) << "the bar starts too early";
  // The title and its icon are red too: far more red than the bar alone.
  EXPECT_GT(pixelsNear(result, kCautionRed) - static_cast<int>(red.size()) * 4, 40);

  useChromium("width=400\nheight=300\n");
  ASSERT_NO_FATAL_FAILURE(pictureOfSize(document, 400, 300, result));
  EXPECT_EQ(pixelsNear(result, kCautionRed), 0) << "the built-in converter drew an alert";
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

TEST_F(RealBrowserTest, ConcurrentCapturesKeepTheirOwnPages) {
  useShallowTemporaryFolder();
  useChromium("width=64\nheight=48\n");
  const Colour colours[] = {{255, 0, 0}, {0, 0, 255}};
  const std::string tail = "<!-- long enough for a picture of its own -->\n";
  const std::array<std::filesystem::path, 2> pages = {
      plugin.writeFile("page0/page.html", plainPage(colours[0], tail)),
      plugin.writeFile("page1/page.html", plainPage(colours[1], tail))};
  std::array<HandedOverPicture, 2> results;
  const std::array<int, 2> codes = plugin.picturesAtOnce(pages, results);
  for (int i = 0; i < 2; ++i) {
    ASSERT_EQ(codes[i], 0) << i;
    expectColourAt(results[i], 32, 24, colours[i]);
  }
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// Chromium draws only the top H - 87 rows of a window 88 to 143 pixels high;
// the wrapper frames the page in a taller window for those. Each page pins a
// band to the viewport's top and bottom and a column 100vh high, so a picture
// that is short, or a viewport of any other height, shows.
TEST_F(RealBrowserTest, EveryWindowHeightGivesTheWholePage) {
  useShallowTemporaryFolder();
  constexpr Colour kTop{200, 30, 60};
  constexpr Colour kBottom{20, 110, 220};
  constexpr Colour kColumn{0, 160, 80};
  const auto page = plugin.writeFile(
      "viewport.html",
      "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\">"
      "<div style=\"position:fixed;left:0;top:0;width:50px;height:10px;background:rgb(200,30,60)\">"
      "</div><div style=\"position:fixed;left:0;bottom:0;width:50px;height:10px;"
      "background:rgb(20,110,220)\"></div><div style=\"position:absolute;left:100px;top:0;"
      "width:20px;height:100vh;background:rgb(0,160,80)\"></div></body></html>\n");
  for (const int height : {60, 87, 88, 100, 123, 128, 143, 144, 480}) {
    SCOPED_TRACE("window height " + std::to_string(height));
    useChromium("width=320\nheight=" + std::to_string(height) + "\n");
    HandedOverPicture result;
    ASSERT_NO_FATAL_FAILURE(pictureOfSize(page, 320, height, result));
    expectColourAt(result, 0, 0, kTop);
    expectColourAt(result, 0, 10, kWhite);
    expectColourAt(result, 0, height - 11, kWhite);
    expectColourAt(result, 0, height - 10, kBottom);
    expectColourAt(result, 49, height - 1, kBottom);
    expectColourAt(result, 110, 0, kColumn);
    expectColourAt(result, 110, height - 1, kColumn);
    expectColourAt(result, 130, height - 1, kWhite);
  }
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// Common icon heights fall in the band Chromium draws short.
TEST_F(RealBrowserTest, ShortDrawingsAreWhole) {
  useShallowTemporaryFolder();
  useChromium("width=640\nheight=480\n");
  for (const int height : {100, 123, 128}) {
    SCOPED_TRACE("drawing height " + std::to_string(height));
    const auto drawing =
        plugin.writeFile("icon" + std::to_string(height) + ".svg", iconDrawing(height, 10));
    HandedOverPicture result;
    ASSERT_NO_FATAL_FAILURE(pictureOfSize(drawing, 120, height, result));
    expectColourAt(result, 0, 0, kIconBody);
    expectColourAt(result, 119, height - 11, kIconBody);
    expectColourAt(result, 0, height - 10, kIconBand);
    expectColourAt(result, 119, height - 1, kIconBand);
  }
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

// At the limit the plug-in kills the wrapper's whole process group; the
// browser's profile must still go, removed by the wrapper's cleaner once the
// last browser process has ended.
TEST_F(RealBrowserTest, BrowserStoppedAtTheLimitLeavesNothing) {
  useShallowTemporaryFolder();
  useChromium("width=64\nheight=48\n", 1);
  const auto page = plugin.writeFile(
      "endless.html",
      "<html><body><script>for (;;) {}</script>a page that never finishes loading</body></html>\n");
  HandedOverPicture result;
  EXPECT_EQ(picture(page, result), 6);
  const auto deadline = Clock::now() + std::chrono::seconds(20);
  while (!temporaryLeftovers().empty() && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

}  // namespace
}  // namespace ondrel::test
