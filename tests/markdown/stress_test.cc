// Hostile inputs converted on a thread with a viewer's 1 MiB stack: none may
// crash or exhaust the stack. Linear cost is shown by the benchmark.

#include <memory>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "markdown/block_parser.h"
#include "markdown/parser.h"
#include "markdown/parser_config.h"
#include "tests/markdown/small_stack_thread.h"

namespace markdown {
namespace {

constexpr std::size_t kMiB = 1024 * 1024;

std::string repeat(const std::string& piece, std::size_t times) {
  std::string text;
  text.reserve(piece.size() * times);
  for (std::size_t i = 0; i < times; ++i) text += piece;
  return text;
}

// Converts on a small stack; the result is checked on the test's own thread.
std::string convertOnViewerStack(const std::string& document) {
  std::string html;
  const bool ran = test_support::runOnStack(test_support::kViewerStackSize, [&] {
    Parser parser(std::make_shared<ParserConfig>());
    std::istringstream input(document);
    html = parser.convert(input);
  });
  EXPECT_TRUE(ran) << "could not start a thread with a 1 MiB stack";
  return html;
}

TEST(StressTest, LongSpanOnOneLine) {
  const std::string text(kMiB, 'a');
  EXPECT_EQ(convertOnViewerStack("**" + text + "**"), "<p><strong>" + text + "</strong> </p>");
}

TEST(StressTest, MegabyteLineFullOfMarkers) {
  const std::string piece = "**a*_b_~~c~~`d`<code>[e](f)![g](h)\r*i*\r";
  const std::string line = repeat(piece, kMiB / piece.size());
  const std::string html = convertOnViewerStack(line);
  ASSERT_GT(html.size(), line.size());
  EXPECT_EQ(html.substr(0, 3), "<p>");
  EXPECT_EQ(html.substr(html.size() - 5), " </p>");
  // Code spans are formatted everywhere; an italic only after the last one.
  EXPECT_EQ(html.find("`"), std::string::npos);
  EXPECT_NE(html.find("<br><i>i</i><br>"), std::string::npos);
}

TEST(StressTest, HundredThousandQuoteMarkers) {
  const std::size_t markers = 100000;
  const std::size_t levels = kMaxNestingDepth;
  const std::string document = std::string(markers, '>') + std::string(levels, '\n');
  const std::string expected = repeat("<blockquote>", levels) + std::string(markers - levels, '>') +
                               std::string(levels, ' ') + repeat("</blockquote>", levels);
  EXPECT_EQ(convertOnViewerStack(document), expected);
}

TEST(StressTest, FiveThousandListLevels) {
  std::string document;
  const int levels = 5000;
  for (int level = 0; level < levels; ++level) {
    document += std::string(2 * level, ' ') + "- x\n";
  }
  const std::string html = convertOnViewerStack(document);
  EXPECT_EQ(html.substr(0, 9), "<ul><li>x");
  EXPECT_EQ(html.size() - html.rfind("x") - 1, 10u * kMaxNestingDepth);  // the closing tags
}

TEST(StressTest, TenMegabyteDocument) {
  const std::string chunk =
      "# Title\n"
      "Some **bold** and *italic* text with `code` and a [link](http://example.org).\n"
      "\n"
      "- item\n"
      "  1. nested\n"
      "\n"
      "> quoted\n"
      "\n"
      "\n"
      "|table>\n"
      "a|b\n"
      "|<table\n"
      "```\n"
      "code\n"
      "```\n";
  const std::size_t copies = 10 * kMiB / chunk.size() + 1;
  const std::string chunkHtml = convertOnViewerStack(chunk);
  ASSERT_FALSE(chunkHtml.empty());
  EXPECT_EQ(convertOnViewerStack(repeat(chunk, copies)), repeat(chunkHtml, copies));
}

}  // namespace
}  // namespace markdown
