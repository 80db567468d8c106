// scale=S with Debian's Chromium behind the wrapper script, in both engines: the picture is the
// page drawn at S device pixels a CSS pixel, not a scale-1 picture enlarged, and GetPictureInfoW
// reports the size GetPictureW delivers.

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "platform/host_support.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

constexpr Colour kLine{0, 0, 0};
constexpr Colour kBand{20, 110, 220};

// White, with 1-px lines in CSS pixels (a column at x 100, a row at y 300) and 10-px bands along
// the bottom and the right edge of an 800 x 600 viewport.
const std::string kLinesPage =
    "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\">"
    "<div style=\"position:absolute;left:100px;top:50px;width:1px;height:200px;background:#000\">"
    "</div><div style=\"position:absolute;left:300px;top:300px;width:200px;height:1px;"
    "background:#000\"></div><div style=\"position:fixed;left:0;bottom:0;width:100%;height:10px;"
    "background:rgb(20,110,220)\"></div><div style=\"position:fixed;right:0;top:0;width:10px;"
    "height:100px;background:rgb(20,110,220)\"></div></body></html>\n";

// Black text on white, large enough that its strokes are solid between their edges.
const std::string kTextPage =
    "<!DOCTYPE html><html><body style=\"margin:8px;background:#fff;color:#000;"
    "font:bold 28px sans-serif\">Sharp edges on HiDPI screens<br>Quick brown foxes jump"
    "<br>0123456789 WAVY lines</body></html>\n";

const char* const kEngines[] = {"", "engine=DevTools\n"};

class DeviceScaleBrowserTest : public ::testing::Test {
 protected:
  void useChromium(const std::string& lines) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER "\nwaitTime=30\n" +
                         lines);
  }

  // The picture, which must be as large as GetPictureInfoW said it would be.
  void agreedPicture(const std::filesystem::path& page, HandedOverPicture& result) {
    PictureInfoRecord info{};
    ASSERT_EQ(plugin.getPictureInfoW(page.u16string().c_str(), 0, 0, &info), 0);
    ASSERT_EQ(plugin.picture(page, &result), 0);
    ASSERT_EQ(result.header.width, info.pixelWidth);
    ASSERT_EQ(result.header.height, info.pixelHeight);
  }

  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-scale-"};
};

TEST_F(DeviceScaleBrowserTest, EightHundredBySixHundredAtScaleTwoIsDrawnAtDensityTwo) {
  const auto page = plugin.writeFile("lines.html", kLinesPage);
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    useChromium(std::string("width=800\nheight=600\nscale=2\n") + engine);
    HandedOverPicture result;
    ASSERT_NO_FATAL_FAILURE(agreedPicture(page, result));
    ASSERT_EQ(result.header.width, 1600);
    ASSERT_EQ(result.header.height, 1200);
    // Each 1-px line is 2 device pixels wide, solid, with white on both sides.
    for (const int y : {120, 300, 480}) {
      expectColourAt(result, 199, y, kWhite);
      expectColourAt(result, 200, y, kLine, 8);
      expectColourAt(result, 201, y, kLine, 8);
      expectColourAt(result, 202, y, kWhite);
    }
    expectColourAt(result, 800, 599, kWhite);
    expectColourAt(result, 800, 600, kLine, 8);
    expectColourAt(result, 800, 601, kLine, 8);
    expectColourAt(result, 800, 602, kWhite);
    // The bands reach the picture's last row and column: the whole viewport is drawn.
    expectColourAt(result, 0, 1179, kWhite);
    expectColourAt(result, 0, 1180, kBand);
    expectColourAt(result, 1599, 1199, kBand);
    expectColourAt(result, 1579, 100, kWhite);
    expectColourAt(result, 1580, 100, kBand);
    expectColourAt(result, 1599, 0, kBand);
  }
}

// 641 x 1.5 = 961.5 and 481 x 1.5 = 721.5: both engines round as the information does.
TEST_F(DeviceScaleBrowserTest, FractionalScalesAgreeWithTheInformation) {
  const auto page = plugin.writeFile("page.html", plainPage({250, 200, 0}));
  const auto drawing = plugin.writeFile("icon.svg", iconDrawing(100, 10));
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    useChromium(std::string("width=641\nheight=481\nscale=1.5\n") + engine);
    HandedOverPicture result;
    ASSERT_NO_FATAL_FAILURE(agreedPicture(page, result));
    EXPECT_EQ(result.header.width, 962);
    EXPECT_EQ(result.header.height, 722);
    expectColourAt(result, 961, 721, {250, 200, 0});
    // A 120 x 100 drawing is drawn at 180 x 150, its 10-row band 15 rows high.
    ASSERT_NO_FATAL_FAILURE(agreedPicture(drawing, result));
    EXPECT_EQ(result.header.width, 180);
    EXPECT_EQ(result.header.height, 150);
    expectColourAt(result, 179, 134, kIconBody);
    expectColourAt(result, 0, 135, kIconBand);
    expectColourAt(result, 179, 149, kIconBand);
  }
}

TEST_F(DeviceScaleBrowserTest, AWholePageIsMeasuredAndDrawnScaled) {
  useChromium("width=300\nheight=200\nscale=2\nengine=DevTools\nfullPage=ON\n");
  const auto page = plugin.writeFile(
      "tall.html",
      "<!DOCTYPE html><html><body style=\"margin:0;background:#fff\">"
      "<div style=\"height:1290px\"></div><div style=\"height:10px;background:rgb(20,110,220)\">"
      "</div></body></html>\n");
  HandedOverPicture result;
  ASSERT_NO_FATAL_FAILURE(agreedPicture(page, result));
  EXPECT_EQ(result.header.width, 600);
  EXPECT_EQ(result.header.height, 2600);
  expectColourAt(result, 0, 2579, kWhite);
  expectColourAt(result, 0, 2580, kBand);
  expectColourAt(result, 599, 2599, kBand);
}

// Grey levels along each row of a picture: 0 black to 255 white.
struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<int> grey;

  static GreyPicture of(const HandedOverPicture& picture) {
    GreyPicture result{picture.header.width, picture.header.height, {}};
    for (int y = 0; y < result.height; ++y) {
      for (int x = 0; x < result.width; ++x) {
        const Bgra pixel = picture.at(x, y);
        result.grey.push_back((pixel.red * 30 + pixel.green * 59 + pixel.blue * 11) / 100);
      }
    }
    return result;
  }

  // Each pixel repeated `factor` times across and down, as a viewer blows a picture up.
  GreyPicture enlarged(int factor) const {
    GreyPicture result{width * factor, height * factor, {}};
    for (int y = 0; y < result.height; ++y) {
      for (int x = 0; x < result.width; ++x) {
        result.grey.push_back(grey[std::size_t(y / factor) * std::size_t(width) + x / factor]);
      }
    }
    return result;
  }

  // The mean width in pixels of the grey between paper and ink where a row crosses an edge of
  // the text: the blur a reader sees.
  double meanEdgeWidth() const {
    enum Tone { kPaper, kInk, kGrey };
    long edges = 0;
    long greyInEdges = 0;
    for (int y = 0; y < height; ++y) {
      Tone last = kGrey;
      long greyRun = 0;
      for (int x = 0; x < width; ++x) {
        const int level = grey[std::size_t(y) * std::size_t(width) + x];
        const Tone tone = level >= 224 ? kPaper : level <= 32 ? kInk : kGrey;
        if (tone == kGrey) {
          ++greyRun;
          continue;
        }
        if (last != kGrey && tone != last) {
          ++edges;
          greyInEdges += greyRun;
        }
        last = tone;
        greyRun = 0;
      }
    }
    return edges == 0 ? 0.0 : double(greyInEdges) / double(edges);
  }
};

TEST_F(DeviceScaleBrowserTest, TextEdgesAreSharperThanAnEnlargedPicture) {
  const auto page = plugin.writeFile("text.html", kTextPage);
  for (const char* engine : kEngines) {
    SCOPED_TRACE(engine);
    useChromium(std::string("width=480\nheight=160\n") + engine);
    HandedOverPicture once;
    ASSERT_EQ(plugin.picture(page, &once), 0);
    useChromium(std::string("width=480\nheight=160\nscale=2\n") + engine);
    HandedOverPicture twice;
    ASSERT_EQ(plugin.picture(page, &twice), 0);
    ASSERT_EQ(twice.header.width, 960);
    ASSERT_EQ(twice.header.height, 320);

    const GreyPicture enlarged = GreyPicture::of(once).enlarged(2);
    const GreyPicture drawn = GreyPicture::of(twice);
    const double blurred = enlarged.meanEdgeWidth();
    const double sharp = drawn.meanEdgeWidth();
    // An enlarged edge is twice as wide as the scale-1 one; one drawn at density 2 is about as
    // wide as that, in pixels half the size.
    EXPECT_GT(blurred, 1.0);
    EXPECT_LT(sharp, 0.7 * blurred) << "enlarged " << blurred << ", drawn " << sharp;
    // Both show the same text: about four times the ink of the scale-1 picture.
    long inkEnlarged = 0;
    long inkDrawn = 0;
    for (const int level : enlarged.grey) inkEnlarged += level < 128;
    for (const int level : drawn.grey) inkDrawn += level < 128;
    EXPECT_NEAR(double(inkDrawn) / double(inkEnlarged), 1.0, 0.15);
  }
}

}  // namespace
}  // namespace ondrel::test
