// The edge cases of the block kinds other than lists, through the driver.

#include <string>

#include <gtest/gtest.h>

#include "markdown/parser_config.h"
#include "tests/markdown/conversion.h"

namespace markdown {
namespace {

using test_support::ConversionCase;

constexpr std::uint32_t kWithLatex = kDefaultParserMask | ENABLE_LATEX_BLOCK;
constexpr std::uint32_t kWithHtml = kDefaultParserMask | ENABLE_HTML;
constexpr std::uint32_t kNoParagraphTags = kDefaultParserMask & ~ENABLE_PARAGRAPH;

class BlockKindTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(BlockKindTest, Converts) {
  EXPECT_EQ(test_support::convertLines(GetParam().lines, GetParam().mask), GetParam().html);
}

std::string caseName(const ::testing::TestParamInfo<ConversionCase>& info) {
  return info.param.name;
}

INSTANTIATE_TEST_SUITE_P(
    Paragraph, BlockKindTest,
    ::testing::Values(
        ConversionCase{"Tags", {"a", "b", ""}, "<p>a b </p>"},
        ConversionCase{"NoTags", {"a", "b", ""}, "a b <br/>", kNoParagraphTags},
        ConversionCase{"LastLine", {"a"}, "<p>a </p>"},
        ConversionCase{
            "SwallowsBlockStarts", {"a", "# Title", "---", "- x"}, "<p>a # Title --- - x </p>"},
        ConversionCase{"SpacesAreNotEmpty", {"  ", "a", ""}, "<p>   a </p>"},
        ConversionCase{"InlineOnFirstLine", {"**x**", "y"}, "<p><strong>x</strong> y </p>"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    HeadlineAndRule, BlockKindTest,
    ::testing::Values(ConversionCase{"Level1", {"# Title"}, "<h1>Title</h1>"},
                      ConversionCase{"Level6", {"###### x"}, "<h6>x</h6>"},
                      ConversionCase{"KeepsSpacesAndSigns",
                                     {"#  Title", "# Title #", "# "},
                                     "<h1> Title</h1><h1>Title #</h1><h1></h1>"},
                      ConversionCase{"Inline", {"# **x**"}, "<h1><strong>x</strong></h1>"},
                      ConversionCase{"FollowedByText", {"# T", "text"}, "<h1>T</h1><p>text </p>"},
                      ConversionCase{"OnlyThreeDashes", {"----", "", "---"}, "<p>---- </p><hr/>"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    CodeAndLatex, BlockKindTest,
    ::testing::Values(
        ConversionCase{"Plain", {"```", "int a;", "```"}, "<pre><code>\nint a;\n</code></pre>"},
        ConversionCase{"ClassFromFence",
                       {"```cpp", "```", "``` cpp", "```", "````", "```"},
                       "<pre class=\"cpp\"><code>\n</code></pre>"
                       "<pre class=\" cpp\"><code>\n</code></pre>"
                       "<pre class=\"`\"><code>\n</code></pre>"},
        ConversionCase{"OnlyExactFenceCloses",
                       {"```", "```cpp", "``` ", "````", "", "```"},
                       "<pre><code>\n```cpp\n``` \n````\n\n</code></pre>"},
        ConversionCase{"BodyUnchanged",
                       {"```", "<b>x</b> **x**", "```"},
                       "<pre><code>\n<b>x</b> **x**\n</code></pre>"},
        ConversionCase{"OneLineLatex", {"$$x^2$$"}, "$$x^2$$\n", kWithLatex},
        ConversionCase{"TwoLineLatex", {"$$ a =", "b $$"}, "$$ a =\nb $$\n", kWithLatex},
        ConversionCase{"BareDelimiter", {"$$", "x"}, "$$\n<p>x </p>", kWithLatex},
        ConversionCase{"UnclosedLatex", {"$$ a", "b"}, "", kWithLatex},
        ConversionCase{"LatexDisabled", {"$$x$$"}, "<p>$$x$$ </p>"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    RawHtml, BlockKindTest,
    ::testing::Values(
        ConversionCase{"Joined", {"<div>", "text", "</div>", ""}, "<div>text </div>", kWithHtml},
        ConversionCase{"EndsAfterTagLine", {"<div>", "", "x"}, "<div><p>x </p>", kWithHtml},
        ConversionCase{"EmptyAfterTextGoesOn",
                       {"<div>", "text", "", "more", "</div>", ""},
                       "<div>text more </div>",
                       kWithHtml},
        ConversionCase{"SpaceAfterTag", {"<div> ", "", "</div>"}, "<div>  </div>", kWithHtml},
        ConversionCase{"NoFormatting", {"<p>", "**x**", "</p>"}, "<p>**x** </p>", kWithHtml},
        ConversionCase{"FirstCharacterOnly", {"< 3 apples"}, "", kWithHtml},
        ConversionCase{"Disabled", {"<b>x</b>"}, "<p><b>x</b> </p>"}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Quote, BlockKindTest,
    ::testing::Values(
        ConversionCase{"Paragraph", {"> a", "", ""}, "<blockquote><p>a  </p></blockquote>"},
        ConversionCase{"TwoParagraphs",
                       {"> a", ">", "> b", "", ""},
                       "<blockquote><p>a  </p><p>b  </p></blockquote>"},
        ConversionCase{"LazyLines",
                       {"> a", "b", "", "c", "", ""},
                       "<blockquote><p>a  b  </p><p>c  </p></blockquote>"},
        ConversionCase{"Empty", {">", ""}, "<blockquote></blockquote>"},
        ConversionCase{"NeedsSecondEmptyLine", {"> a"}, ""},
        ConversionCase{"List",
                       {"> - x", "> - y", "", ""},
                       "<blockquote><ul><li>x </li><li>y </li></ul></blockquote>"},
        ConversionCase{"Nested",
                       {">> x", "", "", ""},
                       "<blockquote><blockquote><p>x   </p></blockquote></blockquote>"},
        ConversionCase{"SpacedMarkers", {"> > x", "", ""}, "<blockquote><p> x  </p></blockquote>"},
        ConversionCase{"Headline", {"> # Title", ""}, "<blockquote><h1>Title </h1></blockquote>"},
        ConversionCase{"NoExactLines", {"> ---", "", ""}, "<blockquote><p>---  </p></blockquote>"},
        ConversionCase{"FenceNeverCloses", {"> ```", "> ```", "", "", "x"}, ""}),
    caseName);

INSTANTIATE_TEST_SUITE_P(
    Table, BlockKindTest,
    ::testing::Values(
        ConversionCase{
            "ThreeSections",
            {"|table>", "h1|h2", "- | - | -", "a|b", "c|d", "- | - | -", "f1|f2", "|<table"},
            "<table><thead><tr><th>h1</th><th>h2</th></tr></thead><tbody><tr><td>a</td>"
            "<td>b</td></tr><tr><td>c</td><td>d</td></tr></tbody><tfoot><tr><td>f1</td>"
            "<td>f2</td></tr></tfoot></table>"},
        ConversionCase{"OneSectionKeepsSpaces",
                       {"|table>", "a | b", "|<table"},
                       "<table><tbody><tr><td>a </td><td> b</td></tr></tbody></table>"},
        ConversionCase{"TwoSections",
                       {"|table>", "h", "- | - | -", "b", "|<table"},
                       "<table><thead><tr><th>h</th></tr></thead><tbody><tr><td>b</td></tr>"
                       "</tbody></table>"},
        ConversionCase{"EmptyLineIsEmptyRow",
                       {"|table>", "", "|<table"},
                       "<table><tbody><tr></tr></tbody></table>"},
        ConversionCase{"NoRows", {"|table>", "|<table"}, "<table></table>"},
        ConversionCase{"OuterBars",
                       {"|table>", "| a | b |", "|<table"},
                       "<table><tbody><tr><td></td><td> a </td><td> b </td></tr></tbody></table>"},
        ConversionCase{
            "MarkersInsideAreData",
            {"|table>", "|table>", " |<table", "-|-|-", "|<table"},
            "<table><tbody><tr><td></td><td>table></td></tr><tr><td> </td>"
            "<td><table</td></tr><tr><td>-</td><td>-</td><td>-</td></tr></tbody></table>"},
        ConversionCase{"CellsFormatted",
                       {"|table>", "**a**|`b|c`", "|<table"},
                       "<table><tbody><tr><td><strong>a</strong></td><td>`b</td><td>c`</td></tr>"
                       "</tbody></table>"},
        ConversionCase{"Unclosed", {"|table>", "a|b", "", "# x"}, ""},
        // Separators with no row between them leave empty sections.
        ConversionCase{"LeadingSeparator",
                       {"|table>", "- | - | -", "a", "|<table"},
                       "<table><thead></thead><tbody><tr><td>a</td></tr></tbody></table>"},
        ConversionCase{
            "DoubleSeparator",
            {"|table>", "h", "- | - | -", "- | - | -", "b", "- | - | -", "f", "|<table"},
            "<table><thead><tr><th>h</th></tr></thead><tbody></tbody><tbody><tr><td>b</td>"
            "</tr></tbody><tfoot><tr><td>f</td></tr></tfoot></table>"}),
    caseName);

}  // namespace
}  // namespace markdown
