// Pages that draw their document's code, math and diagrams: which "$" the parser reads as math
// and how it hands the source on, which scripts a page loads for what its document holds, and
// what a page without the assets shows.

#include "capture/staging/drawing_page.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

#include "capture/staging/drawing_assets.h"
#include "capture/staging/gfm/gfm_html.h"
#include "capture/staging/gfm_staging.h"
#include "tests/support/scratch_folder.h"

namespace ondrel {
namespace {

constexpr GithubAdditions kMath{.math = true};

std::string mathHtml(std::string_view markdown) { return gfmHtml(markdown, kMath); }

std::string inlineMath(std::string_view source) {
  return "<span class=\"math-inline\">" + std::string(source) + "</span>";
}

std::string displayMath(std::string_view source) {
  return "<span class=\"math-display\">" + std::string(source) + "</span>";
}

// Whatever Markdown would make of the characters, KaTeX gets them as written.
TEST(MathSpans, ReachKatexExactlyAsWritten) {
  EXPECT_EQ(mathHtml("$a*b*c$\n"), "<p>" + inlineMath("a*b*c") + "</p>\n");
  EXPECT_EQ(mathHtml("$x_1 + y_1$ and $x_2$\n"),
            "<p>" + inlineMath("x_1 + y_1") + " and " + inlineMath("x_2") + "</p>\n");
  EXPECT_EQ(mathHtml("$\\{a\\}$\n"), "<p>" + inlineMath("\\{a\\}") + "</p>\n");
  EXPECT_EQ(mathHtml("$[a](b)$ $`c`$ $&amp;$ $\\\\$\n"),
            "<p>" + inlineMath("[a](b)") + " " + inlineMath("`c`") + " " + inlineMath("&amp;amp;") +
                " " + inlineMath("\\\\") + "</p>\n");
  // Escaped for the page, so that the text KaTeX reads back is the source.
  EXPECT_EQ(mathHtml("$a<b>c \"d\" & e$\n"),
            "<p>" + inlineMath("a&lt;b&gt;c &quot;d&quot; &amp; e") + "</p>\n");
}

// GitHub's rules: no white space just inside the dollars, no digit right after the closing one.
TEST(MathSpans, DollarAmountsStayProse) {
  EXPECT_EQ(mathHtml("$5 and $10\n"), "<p>$5 and $10</p>\n");
  EXPECT_EQ(mathHtml("It costs $5, or $6 with tax.\n"), "<p>It costs $5, or $6 with tax.</p>\n");
  EXPECT_EQ(mathHtml("$ x$ and $x $\n"), "<p>$ x$ and $x $</p>\n");
  EXPECT_EQ(mathHtml("from $x$1 on\n"), "<p>from $x$1 on</p>\n");
  EXPECT_EQ(mathHtml("a lone $ sign\n"), "<p>a lone $ sign</p>\n");
  EXPECT_EQ(mathHtml("$$\n"), "<p>$$</p>\n");
  // An escaped dollar is a dollar; inside math it is TeX's, and ends nothing.
  EXPECT_EQ(mathHtml("\\$x$ and $y\\$\n"), "<p>$x$ and $y$</p>\n");
  EXPECT_EQ(mathHtml("$a\\$b$\n"), "<p>" + inlineMath("a\\$b") + "</p>\n");
  EXPECT_EQ(mathHtml("$a\\\\$ b\n"), "<p>" + inlineMath("a\\\\") + " b</p>\n");
  // A closing dollar that fails the rules is passed over for the next.
  EXPECT_EQ(mathHtml("$a $b$\n"), "<p>" + inlineMath("a $b") + "</p>\n");
  // Half of a "$$" neither closes inline math nor opens it.
  EXPECT_EQ(mathHtml("$5 and $10, $$x_1$$\n"), "<p>$5 and $10, " + displayMath("x_1") + "</p>\n");
  EXPECT_EQ(mathHtml("$$a$ b\n"), "<p>$$a$ b</p>\n");
}

TEST(MathSpans, DisplayMathMaySpanLinesOfItsParagraph) {
  EXPECT_EQ(mathHtml("$$x^2$$\n"), "<p>" + displayMath("x^2") + "</p>\n");
  EXPECT_EQ(mathHtml("$$\n\\sum_{i=1}^n i * j\n$$\n"),
            "<p>" + displayMath("\n\\sum_{i=1}^n i * j\n") + "</p>\n");
  EXPECT_EQ(mathHtml("Since $$ a $$ holds.\n"), "<p>Since " + displayMath(" a ") + " holds.</p>\n");
  // Nothing but white space is no math.
  EXPECT_EQ(mathHtml("$$ $$\n"), "<p>$$ $$</p>\n");
}

TEST(MathSpans, CodeAndOtherBlocksKeepTheirDollars) {
  EXPECT_EQ(mathHtml("`$x$`\n"), "<p><code>$x$</code></p>\n");
  EXPECT_EQ(mathHtml("```\n$x$\n```\n"), "<pre><code>$x$\n</code></pre>\n");
  EXPECT_EQ(mathHtml("    $x$\n"), "<pre><code>$x$\n</code></pre>\n");
  EXPECT_EQ(mathHtml("<div>$x$</div>\n"), "<div>$x$</div>\n");
  // Math stands wherever text does; a table's cells end at "|" before their text is read.
  EXPECT_EQ(mathHtml("| a |\n|---|\n| $x_1$ |\n"),
            gfmHtml("| a |\n|---|\n| <span class=\"math-inline\">x_1</span> |\n"));
  EXPECT_EQ(mathHtml("* **$a*b$**\n"),
            "<ul>\n<li><strong>" + inlineMath("a*b") + "</strong></li>\n</ul>\n");
}

// The parser reads every dollar once, whatever the paragraph holds.
TEST(MathSpans, AParagraphOfLoneDollarsIsReadInLinearTime) {
  std::string prices;
  for (int i = 0; i < 100000; ++i) prices += "$1 and ";
  std::string displays;
  for (int i = 0; i < 100000; ++i) displays += "$$ $$ ";
  const auto start = std::chrono::steady_clock::now();
  const bool pricesStayProse = mathHtml(prices) == gfmHtml(prices);
  const bool displaysStayProse = mathHtml(displays + "$$x") == gfmHtml(displays + "$$x");
  const auto took = std::chrono::steady_clock::now() - start;
  // Not compared with EXPECT_EQ, whose message would print megabytes.
  EXPECT_TRUE(pricesStayProse);
  EXPECT_TRUE(displaysStayProse);
  // Quadratic reading takes minutes here; linear well under a second, even under a sanitizer.
  EXPECT_LT(took, std::chrono::seconds(20));
}

TEST(MathSpans, OnlyWithTheAddition) {
  EXPECT_EQ(gfmHtml("$a*b*c$\n"), "<p>$a<em>b</em>c$</p>\n");
  EXPECT_EQ(gfmHtml("$a*b*c$\n", kAllGithubAdditions), "<p>$a<em>b</em>c$</p>\n");
  EXPECT_EQ(gfmHtml("$a*b*c$\n", kDrawnGithubAdditions), "<p>" + inlineMath("a*b*c") + "</p>\n");
}

TEST(DrawingNeeds, AreWhatTheDocumentHolds) {
  const auto needs = [](std::string_view markdown) { return gfmBody(markdown, kMath).needs; };
  EXPECT_FALSE(needs("# Plain\n\n```\nno language\n```\n\n    indented\n\n`code`\n").any());
  EXPECT_FALSE(needs("$5 and $10\n").any());
  const DrawingNeeds code = needs("```python title=x\nx = 1\n```\n");
  EXPECT_TRUE(code.code && !code.math && !code.diagrams);
  const DrawingNeeds math = needs("a $x$ b\n");
  EXPECT_TRUE(!math.code && math.math && !math.diagrams);
  EXPECT_TRUE(needs("```math\nx\n```\n").math);
  const DrawingNeeds diagram = needs("```mermaid\ngraph TD\n```\n");
  EXPECT_TRUE(!diagram.code && !diagram.math && diagram.diagrams);
  // Math read as text when the addition is off needs nothing.
  EXPECT_FALSE(gfmBody("a $x$ b\n").needs.math);
}

const DrawingAssets kEveryAsset{"file:///a/ondrel-assets/", true, true, true};

std::string drawnPage(std::string_view markdown, const DrawingAssets& assets = kEveryAsset) {
  return gfmStagedPageText({markdown}, "p{}\n", assets);
}

std::string plainPage(std::string_view markdown) { return gfmStagedPageText({markdown}, "p{}\n"); }

bool holds(const std::string& page, std::string_view text) {
  return page.find(text) != std::string::npos;
}

constexpr const char* kEveryScript[] = {"highlight.min.js", "katex.min.js", "mermaid.min.js"};

TEST(DrawingPage, LoadsOnlyTheScriptsItsDocumentNeeds) {
  const std::string code = drawnPage("```js\nlet a = 1;\n```\n");
  EXPECT_TRUE(holds(code,
                    "<link rel=\"stylesheet\" href=\"file:///a/ondrel-assets/"
                    "highlight.js/github.min.css\">\r\n"));
  EXPECT_TRUE(holds(code,
                    "<script src=\"file:///a/ondrel-assets/highlight.js/"
                    "highlight.min.js\"></script>\r\n"));
  EXPECT_FALSE(holds(code, "katex.min.") || holds(code, "mermaid.min.js"));

  const std::string math = drawnPage("$x$\n");
  EXPECT_TRUE(holds(math, "href=\"file:///a/ondrel-assets/katex/katex.min.css\""));
  EXPECT_TRUE(holds(math, "src=\"file:///a/ondrel-assets/katex/katex.min.js\""));
  EXPECT_FALSE(holds(math, "highlight.js/") || holds(math, "mermaid.min.js"));

  const std::string diagram = drawnPage("```mermaid\ngraph TD\nA-->B\n```\n");
  EXPECT_TRUE(holds(diagram, "src=\"file:///a/ondrel-assets/mermaid/mermaid.min.js\""));
  EXPECT_FALSE(holds(diagram, "highlight.js/") || holds(diagram, "katex.min."));

  // The drawing runs after the body, which it reads.
  for (const std::string& page : {code, math, diagram}) {
    EXPECT_TRUE(page.ends_with("})();\r\n</script>\r\n"));
    EXPECT_TRUE(holds(page, "window.ondrelDrawing ="));
  }
}

TEST(DrawingPage, APlainDocumentGetsThePageItGetsWithoutDrawing) {
  for (const char* document : {"# Title\n\ntext\n", "```\nplain\n```\n", "$5 and $10\n", ""}) {
    EXPECT_EQ(drawnPage(document), plainPage(document)) << document;
  }
}

TEST(DrawingPage, WithoutAnAssetItsKindShowsAsText) {
  const std::string document = "```c\nint a;\n```\n\n$a*b*c$\n\n```mermaid\ngraph TD\n```\n";
  const DrawingAssets none{"file:///a/ondrel-assets/"};
  EXPECT_EQ(drawnPage(document, none), plainPage(document));

  DrawingAssets noKatex = kEveryAsset;
  noKatex.katex = false;
  const std::string page = drawnPage(document, noKatex);
  EXPECT_TRUE(holds(page, "<p>$a<em>b</em>c$</p>"));
  EXPECT_FALSE(holds(page, "katex.min."));
  EXPECT_TRUE(holds(page, "highlight.min.js") && holds(page, "mermaid.min.js"));
}

// The folder the build fills, as a module finds it beside itself.
TEST(DrawingAssets, AreFoundByTheirFiles) {
  test::ScratchFolder scratch;
  const std::filesystem::path folder = scratch.path() / "ondrel-assets";
  const std::optional<DrawingAssets> empty = drawingAssetsIn(folder.u16string());
  ASSERT_TRUE(empty);
  EXPECT_TRUE(empty->folderUrl.starts_with("file://"));
  EXPECT_TRUE(empty->folderUrl.ends_with("/ondrel-assets/"));
  EXPECT_FALSE(empty->highlight || empty->katex || empty->mermaid);

  for (const char* file : {asset::kHighlightScript, asset::kHighlightStyle, asset::kKatexScript,
                           asset::kMermaidScript}) {
    std::filesystem::create_directories((folder / file).parent_path());
    std::ofstream(folder / file) << "//";
  }
  const std::optional<DrawingAssets> found = drawingAssetsIn(folder.u16string());
  ASSERT_TRUE(found);
  EXPECT_TRUE(found->highlight);
  EXPECT_FALSE(found->katex) << "KaTeX's style sheet is missing";
  EXPECT_TRUE(found->mermaid);
}

#ifdef ONDREL_BUILT_DRAWING_ASSETS
// What the build copied is what the pages refer to.
TEST(DrawingAssets, TheBuildCopiesEveryFileThePagesLoad) {
  const std::optional<DrawingAssets> built =
      drawingAssetsIn(std::filesystem::path(ONDREL_BUILT_DRAWING_ASSETS).u16string());
  ASSERT_TRUE(built);
  EXPECT_TRUE(built->highlight && built->katex && built->mermaid);
  const std::filesystem::path fonts = std::filesystem::path(ONDREL_BUILT_DRAWING_ASSETS) / "katex" /
                                      "fonts" / "KaTeX_Main-Regular.woff2";
  EXPECT_TRUE(std::filesystem::exists(fonts));
}
#endif

}  // namespace
}  // namespace ondrel
