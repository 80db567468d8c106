#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "markdown/parser.h"
#include "markdown/parser_config.h"

namespace markdown {
namespace {

struct InlineCase {
  std::string line;
  std::string html;
};

std::string formatWithMask(std::string line, std::uint32_t mask) {
  auto config = std::make_shared<ParserConfig>();
  config->parserMask = mask;
  Parser(config).runInlineParsers(line);
  return line;
}

class InlineWithoutEmphasizedTest : public ::testing::TestWithParam<InlineCase> {};

TEST_P(InlineWithoutEmphasizedTest, RewritesLine) {
  EXPECT_EQ(formatWithMask(GetParam().line, kDefaultParserMask & ~ENABLE_EMPHASIZED),
            GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Spans, InlineWithoutEmphasizedTest,
    ::testing::Values(
        InlineCase{"**x** and *y*", "<strong>x</strong> and <i>y</i>"},
        InlineCase{"****", "<strong></strong>"}, InlineCase{"``", "<code></code>"},
        // No strong pair without an inner "*": italics pair the markers one by one.
        InlineCase{"**a*b**", "<i></i>a<i>b</i>*"},
        InlineCase{"**bold *in* bold**", "<i></i>bold <i>in</i> bold<i></i>"},
        InlineCase{"a*b*c", "a<i>b</i>c"}, InlineCase{"2*3*4", "2<i>3</i>4"},
        InlineCase{"* not italic", "* not italic"}, InlineCase{"\\*x\\*", "\\<i>x\\</i>"},
        // The code guard: only spans after the last code span are formatted.
        InlineCase{"`a` **b**", "<code>a</code> <strong>b</strong>"},
        InlineCase{"**b** `a`", "**b** <code>a</code>"},
        InlineCase{"a `b` c *d* `e` *f*", "a <code>b</code> c *d* <code>e</code> <i>f</i>"},
        InlineCase{"~~x~~ and ~~y~~", "<s>x</s> and <s>y</s>"}, InlineCase{"~~a~b~~", "~~a~b~~"},
        InlineCase{"__u__", "<strong>u</strong>"},
        InlineCase{"[a](b) [c](d)", "<a href=\"b\">a</a> <a href=\"d\">c</a>"},
        InlineCase{"[a](b) and (c)", "<a href=\"b) and (c\">a</a>"},
        InlineCase{"[t](u)(v)", "<a href=\"u)(v\">t</a>"},
        InlineCase{"![a](b.png)", "<img src=\"b.png\" alt=\"a\"/>"},
        InlineCase{"![](x)", "<img src=\"x\" alt=\"\"/>"}, InlineCase{"`<b>`", "<code><b></code>"},
        InlineCase{"x\ry", "x<br>y"}, InlineCase{"x\r\ny\r", "x<br>y<br>"},
        // The guard stops at a CR: a span after it is judged on its own.
        InlineCase{"*a* `c`\r*b*", "*a* <code>c</code><br><i>b</i>"}));

class InlineWithEmphasizedTest : public ::testing::TestWithParam<InlineCase> {};

TEST_P(InlineWithEmphasizedTest, RewritesLine) {
  EXPECT_EQ(formatWithMask(GetParam().line, kDefaultParserMask), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(Spans, InlineWithEmphasizedTest,
                         ::testing::Values(InlineCase{"snake_case_name", "snake<em>case</em>name"},
                                           InlineCase{"`code` _a_", "<code>code</code> <em>a</em>"},
                                           InlineCase{"_a_ `code`", "_a_ <code>code</code>"}));

TEST(InlineParsersTest, DisabledKindsLeaveTheirMarkup) {
  const std::uint32_t mask =
      kDefaultParserMask & ~(ENABLE_IMAGE | ENABLE_ITALIC | ENABLE_BREAK_LINE);
  // Without images the link kind takes the brackets and leaves the "!".
  EXPECT_EQ(formatWithMask("![a](b) *c*\r", mask), "!<a href=\"b\">a</a> *c*\r");
}

}  // namespace
}  // namespace markdown
