#include "markdown/blocks/ordered_list_parser.h"

#include <cstddef>
#include <string_view>
#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

constexpr std::string_view kEndMarkers[] = {"</li><li>", "</li></ol>", "</li></ul>"};
constexpr ListMarkup kMarkup = {"<ol><li>", "</li><li>", "</li></ol>", kEndMarkers};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of "[1-9]+[0-9]*\. " at the start of the line, or 0. However the
// two runs split the digits, together they take any number without a leading
// zero.
std::size_t numberMarkerLength(const std::string& line) {
  if (line.empty() || line[0] < '1' || line[0] > '9') return 0;
  std::size_t end = 1;
  while (end < line.size() && isDigit(line[end])) ++end;
  return line.compare(end, 2, ". ") == 0 ? end + 2 : 0;
}

}  // namespace

OrderedListParser::OrderedListParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : ListBlockParser(std::move(formatInline), std::move(makeNestedBlock), kMarkup) {}

bool OrderedListParser::startsBlock(const std::string& line) {
  return startsWith(line, "1. ") && dotRunReachesEnd(line, 3);
}

bool OrderedListParser::isItemLine(const std::string& line) {
  std::size_t markerLength = numberMarkerLength(line);
  if (markerLength == 0 && startsWith(line, "* ")) markerLength = 2;
  return markerLength != 0 && dotRunReachesEnd(line, markerLength);
}

void OrderedListParser::removeItemMarkers(std::string& line) {
  line.erase(0, numberMarkerLength(line));
  if (startsWith(line, "* ")) line.erase(0, 2);
}

}  // namespace markdown
