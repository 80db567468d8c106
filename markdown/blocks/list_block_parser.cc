#include "markdown/blocks/list_block_parser.h"

#include <cstddef>
#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

// The unit of depth: a nested list is indented by two more white-space
// characters (a tab counts as one).
constexpr std::size_t kIndentStep = 2;

bool isWhiteSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Only whether the indentation reaches one step matters, so the count stops
// there: a deeply indented line costs no more than a flat one.
bool isIndentedOneLevel(const std::string& line) {
  std::size_t count = 0;
  while (count < kIndentStep && count < line.size() && isWhiteSpace(line[count])) ++count;
  return count == kIndentStep;
}

}  // namespace

ListBlockParser::ListBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                                 const ListMarkup& markup)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)), markup(markup) {}

void ListBlockParser::transformLine(std::string& line) {
  const bool newItem = isItem(line);
  const bool indented = isIndentedOneLevel(line);
  removeMarkers(line);
  if (!opened) {
    line.insert(0, markup.opening);
    opened = true;
  } else if (indented) {
    line.erase(0, kIndentStep);
  } else if (endsList(line)) {
    line.insert(0, markup.closing);
    done = true;
  } else if (newItem) {
    line.insert(0, markup.separator);
  }
}

bool ListBlockParser::endsList(const std::string& line) const {
  if (line.empty()) return true;
  for (std::string_view marker : markup.endMarkers) {
    if (contains(line, marker)) return true;
  }
  return false;
}

}  // namespace markdown
