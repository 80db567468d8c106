// The converter's hand-written matchers against the patterns they stand for.
// Each pattern below is kept verbatim and run through std::regex with default
// ECMAScript flags; the production matcher must give the same result on many
// generated lines. The lines are short, where the regex engine is safe.

#include <functional>
#include <regex>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "markdown/block_start_patterns.h"
#include "markdown/blocks/checklist_parser.h"
#include "markdown/blocks/headline_parser.h"
#include "markdown/blocks/horizontal_line_parser.h"
#include "markdown/blocks/ordered_list_parser.h"
#include "markdown/blocks/quote_parser.h"
#include "markdown/blocks/unordered_list_parser.h"
#include "markdown/break_line_parser.h"
#include "markdown/emphasized_parser.h"
#include "markdown/image_parser.h"
#include "markdown/inline_code_parser.h"
#include "markdown/italic_parser.h"
#include "markdown/link_parser.h"
#include "markdown/strike_through_parser.h"
#include "markdown/strong_parser.h"
#include "tests/markdown/marker_lines.h"

namespace markdown {
namespace {

constexpr int kLinesPerPattern = 10000;

using Rewrite = std::function<std::string(std::string)>;
using Test = std::function<bool(const std::string&)>;

struct Replacement {
  const char* pattern;
  const char* format;
};

// std::regex_replace of each replacement in turn, each on the last result.
Rewrite viaRegex(std::vector<Replacement> replacements) {
  std::vector<std::pair<std::regex, std::string>> compiled;
  for (const Replacement& r : replacements) compiled.emplace_back(std::regex(r.pattern), r.format);
  return [compiled](std::string line) {
    for (const auto& [pattern, format] : compiled) line = std::regex_replace(line, pattern, format);
    return line;
  };
}

template <typename Kind>
Rewrite viaLineParser() {
  return [](std::string line) {
    Kind().rewrite(line);
    return line;
  };
}

Rewrite viaFunction(void (*rewrite)(std::string&)) {
  return [rewrite](std::string line) {
    rewrite(line);
    return line;
  };
}

Test wholeLineRegex(const char* pattern) {
  return [compiled = std::regex(pattern)](const std::string& line) {
    return std::regex_match(line, compiled);
  };
}

using Focus = std::vector<std::string>;

struct RewriteCase {
  const char* name;
  Rewrite reference;
  Rewrite production;
  Focus focus;
};

struct TestCase {
  const char* name;
  Test reference;
  Test production;
  Focus focus;
};

// Fragments that the guarded emphasis patterns react to.
Focus guardedFocus(std::initializer_list<std::string> markers) {
  Focus focus = {"`", "<code>", "</code>", "\r", "a"};
  focus.insert(focus.end(), markers);
  return focus;
}

#define GUARD_OPEN R"re((?!.*`.*|.*<code>.*))re"
#define GUARD_CLOSE R"re((?!.*`.*|.*<\/code>.*))re"

std::vector<RewriteCase> inlineRewrites() {
  return {
      {"BreakLine",
       viaRegex({{R"re((\r\n|\r))re", "<br>"}}),
       viaLineParser<BreakLineParser>(),
       {"\r", "\n", "\r\n", "a"}},
      {"Emphasized", viaRegex({{GUARD_OPEN "_" GUARD_CLOSE "([^_]*)_" GUARD_CLOSE, "<em>$1</em>"}}),
       viaLineParser<EmphasizedParser>(), guardedFocus({"_", "__"})},
      {"Image",
       viaRegex({{R"re(\!\[([^\]]*)\]\(([^\]]*)\))re", R"(<img src="$2" alt="$1"/>)"}}),
       viaLineParser<ImageParser>(),
       {"![", "![a](b)", "[", "]", "(", ")", "](", "a"}},
      {"InlineCode",
       viaRegex({{"`([^`]*)`", "<code>$1</code>"}}),
       viaLineParser<InlineCodeParser>(),
       {"`", "a", "\r"}},
      {"Italic",
       viaRegex(
           {{GUARD_OPEN R"re(\*)re" GUARD_CLOSE R"re(([^\*]*)\*)re" GUARD_CLOSE, "<i>$1</i>"}}),
       viaLineParser<ItalicParser>(), guardedFocus({"*", "**"})},
      {"Link",
       viaRegex({{R"re(\[([^\]]*)\]\(([^\]]*)\))re", R"(<a href="$2">$1</a>)"}}),
       viaLineParser<LinkParser>(),
       {"[", "]", "(", ")", "](", "a"}},
      {"StrikeThrough",
       viaRegex(
           {{GUARD_OPEN R"re(\~\~)re" GUARD_CLOSE R"re(([^\~]*)\~\~)re" GUARD_CLOSE, "<s>$1</s>"}}),
       viaLineParser<StrikeThroughParser>(), guardedFocus({"~", "~~"})},
      {"Strong",
       viaRegex({{GUARD_OPEN R"re(\*\*)re" GUARD_CLOSE R"re(([^\*\*]*)\*\*)re" GUARD_CLOSE,
                  "<strong>$1</strong>"},
                 {GUARD_OPEN "__" GUARD_CLOSE "([^__]*)__" GUARD_CLOSE, "<strong>$1</strong>"}}),
       viaLineParser<StrongParser>(), guardedFocus({"*", "**", "_", "__"})},
  };
}

// Headline lines of one level, and of the levels around it.
Focus headlineFocus(int level) {
  return {std::string(level, '#') + " ", "#", "##", " ", "a", "\r"};
}

std::vector<RewriteCase> blockRewrites() {
  std::vector<RewriteCase> cases = {
      {"HorizontalRule",
       viaRegex({{"^---$", "<hr/>"}}),
       [](std::string line) {
         HorizontalLineParser(nullptr, nullptr).transformLine(line);
         return line;
       },
       {"-", "--", "---"}},
      {"QuoteMarker",
       [regexes = viaRegex({{R"re(^\> )re", ""}, {R"re(^\>)re", ""}})](std::string line) {
         line = regexes(line);
         return line.empty() ? line : line + " ";
       },
       [](std::string line) {
         QuoteParser(nullptr, nullptr).transformLine(line);
         return line;
       },
       {">", "> ", " ", "a"}},
      {"ChecklistMarkers",
       viaRegex({{"^(- )", ""},
                 {R"re(^\[ \])re", R"(<input type="checkbox"/>)"},
                 {R"re(^\[x\])re", R"(<input type="checkbox" checked="checked"/>)"}}),
       viaFunction(&ChecklistParser::removeItemMarkers),
       {"- ", "[ ]", "[x]", "[|]", "-", " "}},
      {"OrderedListMarkers",
       viaRegex({{R"re(^[1-9]+[0-9]*\. )re", ""}, {R"re(^\* )re", ""}}),
       viaFunction(&OrderedListParser::removeItemMarkers),
       {"1", "0", "9", ". ", ".", "* ", " "}},
      {"UnorderedListMarker",
       viaRegex({{"^([+*-] )", ""}}),
       viaFunction(&UnorderedListParser::removeItemMarkers),
       {"+ ", "* ", "- ", " "}},
      {"HeadlineLevel1", viaRegex({{"^# (.*)", "<h1>$1</h1>"}}),
       [](std::string line) {
         HeadlineParser::rewriteLevel(line, 1);
         return line;
       },
       headlineFocus(1)},
  };
  static const char* const kLevelPatterns[] = {"^(?:#){2} (.*)", "^(?:#){3} (.*)", "^(?:#){4} (.*)",
                                               "^(?:#){5} (.*)", "^(?:#){6} (.*)"};
  static const char* const kLevelFormats[] = {"<h2>$1</h2>", "<h3>$1</h3>", "<h4>$1</h4>",
                                              "<h5>$1</h5>", "<h6>$1</h6>"};
  static const char* const kLevelNames[] = {"HeadlineLevel2", "HeadlineLevel3", "HeadlineLevel4",
                                            "HeadlineLevel5", "HeadlineLevel6"};
  for (int level = 2; level <= 6; ++level) {
    cases.push_back({kLevelNames[level - 2],
                     viaRegex({{kLevelPatterns[level - 2], kLevelFormats[level - 2]}}),
                     [level](std::string line) {
                       HeadlineParser::rewriteLevel(line, level);
                       return line;
                     },
                     headlineFocus(level)});
  }
  return cases;
}

std::vector<TestCase> wholeLineTests() {
  return {
      {"CodeBlockStart",
       wholeLineRegex("^(?:`){3}(.*)$"),
       [](const std::string& l) { return opensCodeBlock(l); },
       {"`", "```", "a", "\r"}},
      {"LatexBlockStart",
       wholeLineRegex(R"re(^(?:\$){2}(.*)$)re"),
       [](const std::string& l) { return opensLatexBlock(l); },
       {"$", "$$", "a", "\n"}},
      {"HeadlineStart", wholeLineRegex("^(?:#){1,6} (.*)"),
       [](const std::string& l) { return opensHeadline(l); }, headlineFocus(3)},
      {"HorizontalRuleStart",
       wholeLineRegex("^---$"),
       [](const std::string& l) { return isHorizontalRule(l); },
       {"-", "--", "---"}},
      {"QuoteStart",
       wholeLineRegex(R"re(^\>.*)re"),
       [](const std::string& l) { return opensQuote(l); },
       {">", " ", "a", "\r"}},
      {"ChecklistStart",
       wholeLineRegex(R"re(^- \[[x| ]\] .*)re"),
       &ChecklistParser::startsBlock,
       {"- [", "x", "|", " ", "] ", "- [ ] ", "a"}},
      {"OrderedListStart",
       wholeLineRegex(R"re(^1\. .*)re"),
       &OrderedListParser::startsBlock,
       {"1", "1. ", ".", " ", "a"}},
      {"OrderedListItem",
       wholeLineRegex(R"re(^(?:[1-9]+[0-9]*\. |\* ).*)re"),
       &OrderedListParser::isItemLine,
       {"1", "0", "5", ". ", ".", "* ", "a"}},
      {"UnorderedListStart",
       wholeLineRegex("^[+*-] .*"),
       &UnorderedListParser::startsBlock,
       {"+ ", "* ", "- ", "a", "\r"}},
  };
}

// Every case gets its own seed (an FNV-1a hash of its name), so adding a
// case does not change the lines of the others.
std::uint32_t seedFor(const char* name) {
  std::uint32_t hash = 2166136261u;
  for (; *name != '\0'; ++name) hash = (hash ^ static_cast<unsigned char>(*name)) * 16777619u;
  return hash;
}

void expectSameRewrites(const std::vector<RewriteCase>& cases, unsigned maxPieces) {
  for (const RewriteCase& c : cases) {
    test_support::MarkerLines lines(seedFor(c.name), c.focus);
    int rewritten = 0;
    for (int i = 0; i < kLinesPerPattern; ++i) {
      const std::string line = lines.next(maxPieces);
      const std::string expected = c.reference(line);
      ASSERT_EQ(c.production(line), expected) << c.name << " on " << ::testing::PrintToString(line);
      rewritten += expected != line ? 1 : 0;
    }
    // The comparison proves little unless the lines reach the rewrite.
    EXPECT_GT(rewritten, kLinesPerPattern / 50) << c.name;
  }
}

TEST(PatternEquivalenceTest, InlineRewritesMatchTheirPatterns) {
  expectSameRewrites(inlineRewrites(), 12);
}

TEST(PatternEquivalenceTest, BlockRewritesMatchTheirPatterns) {
  expectSameRewrites(blockRewrites(), 5);
}

TEST(PatternEquivalenceTest, WholeLineTestsMatchTheirPatterns) {
  for (const TestCase& c : wholeLineTests()) {
    test_support::MarkerLines lines(seedFor(c.name), c.focus);
    int passed = 0;
    for (int i = 0; i < kLinesPerPattern; ++i) {
      const std::string line = lines.next(5);
      const bool expected = c.reference(line);
      ASSERT_EQ(c.production(line), expected) << c.name << " on " << ::testing::PrintToString(line);
      passed += expected ? 1 : 0;
    }
    // Both outcomes must come up often enough to matter.
    EXPECT_GT(passed, kLinesPerPattern / 200) << c.name;
    EXPECT_LT(passed, kLinesPerPattern - kLinesPerPattern / 200) << c.name;
  }
}

}  // namespace
}  // namespace markdown
