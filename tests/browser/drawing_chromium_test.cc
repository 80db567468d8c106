// Markdown pages that draw their code, math and diagrams (markdownDrawing=ON), in Debian's
// Chromium, with the assets the build put beside the module: each kind appears in the picture
// in its own colours, only with the key and the assets, in both engines where it is promised,
// and without the network.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <tuple>
#include <vector>

#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

// Keywords, strings, titles, numbers and comments of highlight.js's GitHub theme.
constexpr Colour kHighlightColours[] = {
    {215, 58, 73}, {3, 47, 98}, {111, 66, 193}, {0, 92, 197}, {106, 115, 125}};
// A flowchart box's fill, which the diagram asks for, and the page's words when Mermaid cannot
// read a diagram.
constexpr Colour kFlowchartBox{0, 200, 0};
constexpr Colour kDiagramError{255, 235, 233};
constexpr Colour kRed{255, 0, 0};

constexpr char kCode[] =
    "```python\n"
    "def greet(name):\n"
    "    # says hello\n"
    "    return \"Hello, \" + name * 42\n"
    "```\n";
// KaTeX's own commands paint a box only KaTeX can draw: TeX's source is black text.
constexpr char kDisplayMath[] =
    "# Math\n\nA box that only KaTeX can draw:\n\n$$\n\\color{red}{\\rule{6em}{2em}}\n$$\n";
constexpr char kFlowchart[] =
    "```mermaid\ngraph TD\n  A[Start] --> B[Stop]\n  style A fill:#00c800\n```\n";
constexpr char kBrokenDiagram[] = "```mermaid\ngraph TD\n  A[Start] -->\n  --> ((\n```\n";

// How many of the theme's colours the picture shows, each in at least a few glyphs' pixels.
int highlightColoursShown(const HandedOverPicture& picture) {
  int shown = 0;
  for (const Colour& colour : kHighlightColours) shown += pixelsNear(picture, colour, 12) >= 20;
  return shown;
}

// The leftmost and rightmost columns holding `colour`.
std::pair<int, int> columnsOf(const HandedOverPicture& picture, const Colour& colour) {
  int first = picture.header.width;
  int last = -1;
  for (int y = 0; y < picture.header.height; ++y) {
    for (int x = 0; x < picture.header.width; ++x) {
      if (!near(picture.at(x, y), colour, 8)) continue;
      first = std::min(first, x);
      last = std::max(last, x);
    }
  }
  return {first, last};
}

class DrawingChromiumTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(plugin.copyDrawingAssets()) << "the build has no assets"; }

  void useChromium(const std::string& extraLines) {
    plugin.writeSettings("[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
                         "\nwaitTime=30\nwidth=800\nheight=600\nmarkdown=GFM\n" +
                         extraLines);
  }

  HandedOverPicture pictureOf(const std::string& name, const std::string& markdown) {
    HandedOverPicture result;
    EXPECT_EQ(plugin.picture(plugin.writeFile(name, markdown), &result), 0) << name;
    return result;
  }

  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-drawing-"};
};

constexpr const char* kDevTools = "engine=DevTools\nkeepBrowser=0\n";

TEST_F(DrawingChromiumTest, CodeIsHighlightedAndMathTypesetInBothEngines) {
  for (const std::string engine : {"", kDevTools}) {
    SCOPED_TRACE(engine.empty() ? "one-shot engine" : "DevTools engine");
    useChromium(engine + "markdownDrawing=ON\n");
    EXPECT_GE(highlightColoursShown(pictureOf("code.md", kCode)), 3);
    const HandedOverPicture math = pictureOf("math.md", kDisplayMath);
    EXPECT_GT(pixelsNear(math, kRed, 8), 1500) << "no box of KaTeX's";
    // Display math stands in the middle of the page's 800 pixels.
    const auto [left, right] = columnsOf(math, kRed);
    EXPECT_NEAR((left + right) / 2, 400, 20);

    // Without the key both show as text.
    useChromium(engine);
    EXPECT_LE(highlightColoursShown(pictureOf("code.md", kCode)), 1);
    EXPECT_EQ(pixelsNear(pictureOf("math.md", kDisplayMath), kRed, 60), 0);
  }
  EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
}

TEST_F(DrawingChromiumTest, AFlowchartsBoxesAppearOnceTheDrawingIsAwaited) {
  useChromium(std::string(kDevTools) + "markdownDrawing=ON\n");
  EXPECT_GT(pixelsNear(pictureOf("chart.md", kFlowchart), kFlowchartBox, 2), 1500);
  useChromium(kDevTools);
  EXPECT_EQ(pixelsNear(pictureOf("chart.md", kFlowchart), kFlowchartBox, 2), 0);
}

TEST_F(DrawingChromiumTest, ADiagramMermaidCannotReadShowsItsSourceAndMermaidsWords) {
  useChromium(std::string(kDevTools) + "markdownDrawing=ON\n");
  const HandedOverPicture picture =
      pictureOf("broken.md", std::string(kBrokenDiagram) + kFlowchart);
  EXPECT_GT(pixelsNear(picture, kDiagramError, 2), 2000) << "no error under the source";
  // The diagram after it is drawn all the same.
  EXPECT_GT(pixelsNear(picture, kFlowchartBox, 2), 1500);
}

TEST_F(DrawingChromiumTest, WithoutTheAssetsTheTextShowsAsWithoutTheKey) {
  PluginModule bare;  // no assets beside it
  const std::string document = std::string(kCode) + kDisplayMath + kFlowchart;
  const std::string settings = "[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER
                               "\nwaitTime=30\nwidth=800\nheight=600\nmarkdown=GFM\n" +
                               std::string(kDevTools);
  const auto pictureWith = [&](const std::string& extra) {
    bare.writeSettings(settings + extra);
    HandedOverPicture result;
    EXPECT_EQ(bare.picture(bare.writeFile("all.md", document), &result), 0) << extra;
    return result.pixels;
  };
  const std::vector<std::uint8_t> plain = pictureWith("");
  ASSERT_FALSE(plain.empty());
  EXPECT_EQ(pictureWith("markdownDrawing=ON\n"), plain);
}

// Everything the page loads is a file beside the module: the pictures are the same when the
// page may load nothing else.
TEST_F(DrawingChromiumTest, TheSamePicturesComeWithTheNetworkOff) {
  const std::string document = std::string(kCode) + kDisplayMath + kFlowchart;
  const std::string drawing = std::string(kDevTools) + "markdownDrawing=ON\nheight=900\n";
  useChromium(drawing);
  const HandedOverPicture open = pictureOf("all.md", document);
  useChromium(drawing + "network=OFF\n");
  const HandedOverPicture closed = pictureOf("all.md", document);
  EXPECT_GE(highlightColoursShown(closed), 3);
  EXPECT_GT(pixelsNear(closed, kRed, 8), 1500);
  EXPECT_GT(pixelsNear(closed, kFlowchartBox, 2), 1500);
  EXPECT_EQ(closed.pixels, open.pixels);
}

}  // namespace
}  // namespace ondrel::test
