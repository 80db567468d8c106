// Checklists, ordered and unordered lists, and the depth cap of nesting.

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "markdown/block_parser.h"
#include "markdown/parser_config.h"
#include "tests/markdown/conversion.h"

namespace markdown {
namespace {

using test_support::ConversionCase;

const std::string kBox = "<input type=\"checkbox\"/>";
const std::string kChecked = "<input type=\"checkbox\" checked=\"checked\"/>";
const std::string kChecklist = "<ul class=\"checklist\"><li><label>";

class ListTest : public ::testing::TestWithParam<ConversionCase> {};

TEST_P(ListTest, Converts) {
  EXPECT_EQ(test_support::convertLines(GetParam().lines, GetParam().mask), GetParam().html);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ListTest,
    ::testing::Values(
        ConversionCase{"NestedByIndentation",
                       {"1. a", "  * b", "    - c", "2. d", ""},
                       "<ol><li>a<ul><li>b<ul><li>c</li></ul></li></ul></li><li>d</li></ol>"},
        ConversionCase{
            "Checklist",
            {"- [ ] a", "- [x] b"},
            kChecklist + kBox + " a</label></li><li><label>" + kChecked + " b</label></li></ul>"},
        ConversionCase{"NestedChecklistInLabel",
                       {"- [ ] a", "  - [x] sub", "- [ ] b"},
                       kChecklist + kBox + " a" + kChecklist + kChecked +
                           " sub</label></li></ul></label></li><li><label>" + kBox +
                           " b</label></li></ul>"},
        ConversionCase{"OnlyOneStartsOrderedList", {"2. x"}, "<p>2. x </p>"},
        ConversionCase{"UnindentedTextContinuesItem", {"1. a", "b"}, "<ol><li>ab</li></ol>"},
        ConversionCase{"OrderedItemMarkers",
                       {"1. a", "* x", "1. * y"},
                       "<ol><li>a</li><li>x</li><li>y</li></ol>"},
        ConversionCase{"BulletsInsideOrderedItem",
                       {"1. a", "- b", "- c", "2. d"},
                       "<ol><li>a<ul><li>b</li><li>c</li></ul></li><li>d</li></ol>"},
        ConversionCase{"NumbersInsideBulletItem",
                       {"- a", "1. b", "2. c", "* d", "2. x"},
                       "<ul><li>a<ol><li>b</li><li>c</li></ol></li><li>d2. x</li></ul>"},
        ConversionCase{"ChecklistMarks",
                       {"- [|] x", "", "- [X] x"},
                       kChecklist + "[|] x</label></li></ul><ul><li>[X] x</li></ul>"},
        ConversionCase{"DashLineContinuesLabel",
                       {"- [ ] a", "- plain"},
                       kChecklist + kBox + " aplain</label></li></ul>"},
        ConversionCase{
            "OddIndentationIsText", {"- a", "   * x", "    * b"}, "<ul><li>a * x  * b</li></ul>"},
        ConversionCase{"TabsCountOne",
                       {"- a", "\t\t* x", "", "- a", "\t* x"},
                       "<ul><li>a<ul><li>x</li></ul></li></ul><ul><li>a\t* x</li></ul>"},
        ConversionCase{"TwoSpacesEndNestedList",
                       {"- a", "  - b", "  ", "- c"},
                       "<ul><li>a<ul><li>b</li></ul></li><li>c</li></ul>"},
        ConversionCase{"OneSpaceIsText",
                       {"- a", "  - b", " ", "- c"},
                       "<ul><li>a<ul><li>b </li></ul></li><li>c</li></ul>"},
        ConversionCase{"EndMarkerInText", {"- a", "x</li><li>y"}, "<ul><li>a</li></ul>x</li><li>y"},
        ConversionCase{
            "EmptyItemEndsList", {"1. a", "2. ", "3. b"}, "<ol><li>a</li></ol><p>3. b </p>"},
        ConversionCase{"AllLevelsCloseAtEnd",
                       {"- a", "  - b", "    - c"},
                       "<ul><li>a<ul><li>b<ul><li>c</li></ul></li></ul></li></ul>"},
        ConversionCase{"InlineInItems",
                       {"- **a**", "- `b`"},
                       "<ul><li><strong>a</strong></li><li><code>b</code></li></ul>"},
        ConversionCase{"NoChecklistInBullets",
                       {"- a", "  - [ ] b"},
                       "<ul><li>a<ul><li>[ ] b</li></ul></li></ul>"}),
    [](const auto& info) { return std::string(info.param.name); });

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

TEST(NestingDepthTest, ListsNestUpToTheCapAndKeepDeeperLinesAsText) {
  std::vector<std::string> lines;
  for (int level = 0; level < kMaxNestingDepth + 40; ++level) {
    lines.push_back(std::string(2 * level, ' ') + "- " + std::to_string(level));
  }
  const std::string html = test_support::convertLines(lines);
  EXPECT_EQ(countOf(html, "<ul><li>"), static_cast<std::size_t>(kMaxNestingDepth));
  EXPECT_EQ(countOf(html, "</li></ul>"), static_cast<std::size_t>(kMaxNestingDepth));
  // The innermost list drops one more indentation step and keeps the rest.
  EXPECT_NE(html.find("<li>255- 256  - 257    - 258"), std::string::npos);
}

TEST(NestingDepthTest, QuotesNestUpToTheCapAndKeepDeeperMarkersAsText) {
  // Each level removes one marker and adds one space; the innermost quote
  // opens no block for the rest and takes it as its own text.
  std::vector<std::string> lines = {std::string(kMaxNestingDepth + 40, '>') + "x"};
  lines.resize(1 + kMaxNestingDepth);  // one empty line closes one level
  std::string expected;
  for (int i = 0; i < kMaxNestingDepth; ++i) expected += "<blockquote>";
  expected += std::string(40, '>') + "x" + std::string(kMaxNestingDepth, ' ');
  for (int i = 0; i < kMaxNestingDepth; ++i) expected += "</blockquote>";
  EXPECT_EQ(test_support::convertLines(lines), expected);
}

}  // namespace
}  // namespace markdown
