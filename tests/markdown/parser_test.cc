#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "markdown/parser.h"
#include "markdown/parser_config.h"
#include "tests/markdown/conversion.h"

namespace markdown {
namespace {

using test_support::ConversionCase;
using test_support::convertLines;
using test_support::convertText;

TEST(ParserTest, ConstructionAdjustsTheSharedConfiguration) {
  auto config = std::make_shared<ParserConfig>();
  config->keepEmphasizedBit = false;
  config->keepHtmlBit = false;
  Parser parser(config);
  EXPECT_EQ(config->parserMask, (kDefaultParserMask & ~ENABLE_EMPHASIZED) | ENABLE_HTML);
  std::string line = "a_b_c";
  parser.runInlineParsers(line);
  EXPECT_EQ(line, "a_b_c");
}

TEST(ParserTest, EmptyConfigurationEnablesAllButLatexAndHtml) {
  const std::string html = convertText(
      test_support::joinLines({"# **T**", "", "$$x$$", "", "<b>", "", "a_b_"}), nullptr);
  EXPECT_EQ(html, "<h1><strong>T</strong></h1><p>$$x$$ </p><p><b> </p><p>a<em>b</em> </p>");
}

TEST(ParserTest, ReadsLinesUpToLineFeedsOnly) {
  EXPECT_EQ(convertText("a\r\nb\r\n", std::make_shared<ParserConfig>()), "<p>a<br> b<br> </p>");
  // A final newline adds no empty line; a missing one loses nothing.
  EXPECT_EQ(convertText("a\n", std::make_shared<ParserConfig>()), "<p>a </p>");
  EXPECT_EQ(convertText("a", std::make_shared<ParserConfig>()), "<p>a </p>");
}

TEST(ParserTest, OneParserConvertsManyDocuments) {
  Parser parser(std::make_shared<ParserConfig>());
  std::istringstream first("> open quote"), second("# x");
  EXPECT_EQ(parser.convert(first), "");
  EXPECT_EQ(parser.convert(second), "<h1>x</h1>");
}

TEST(ParserTest, SelectBlockParserOpensNothingOnAnEmptyLine) {
  Parser parser(nullptr);
  EXPECT_EQ(parser.selectBlockParser(""), nullptr);
  EXPECT_NE(parser.selectBlockParser(" "), nullptr);
  EXPECT_EQ(parser.selectNestedChecklist("- x"), nullptr);
  EXPECT_NE(parser.selectNestedChecklist("- [ ] x"), nullptr);
  EXPECT_EQ(parser.selectNestedList("# x"), nullptr);
  EXPECT_EQ(parser.selectNestedList("2. x"), nullptr);
  EXPECT_NE(parser.selectNestedList("1. x"), nullptr);
}

class DriverTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(DriverTest, Converts) {
  EXPECT_EQ(convertLines(GetParam().lines, GetParam().mask), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Selection, DriverTest,
    ::testing::Values(
        ConversionCase{"EmptyInput", {}, ""}, ConversionCase{"EmptyLinesOnly", {"", "", ""}, ""},
        ConversionCase{
            "ThreeBackquotesOpenCode", {"```", "x", "```"}, "<pre><code>\nx\n</code></pre>"},
        ConversionCase{"TwoBackquotesOpenParagraph", {"``"}, "<p><code></code> </p>"},
        ConversionCase{"HeadlineNeedsBlank", {"#x"}, "<p>#x </p>"},
        ConversionCase{"SevenSignsAreText", {"####### x"}, "<p>####### x </p>"},
        ConversionCase{"RuleIsExact", {"---", " ---", "", "--- "}, "<hr/><p> --- </p><p>---  </p>"},
        ConversionCase{"TableMarkerIsExact", {"|table> "}, "<p>|table>  </p>"},
        ConversionCase{
            "DefaultMaskHasNoLatexOrHtml", {"$$x$$", "", "<b>"}, "<p>$$x$$ </p><p><b> </p>"},
        ConversionCase{
            "HeadlineDisabled", {"# x"}, "<p># x </p>", kDefaultParserMask & ~ENABLE_HEADLINE},
        ConversionCase{"ParagraphBitOnlyChoosesTags",
                       {"a", "b"},
                       "a b <br/>",
                       kDefaultParserMask & ~ENABLE_PARAGRAPH},
        ConversionCase{"UnclosedBlockIsDropped", {"```", "code"}, ""},
        ConversionCase{
            "EndingLineOpensNothing", {"```", "```", "b"}, "<pre><code>\n</code></pre><p>b </p>"},
        ConversionCase{
            "CrLfLinesOpenNoBlock", {"# x\r", "", "---\r"}, "<p># x<br> </p><p>---<br> </p>"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace markdown
