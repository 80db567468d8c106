#include "markdown/block_start_patterns.h"

#include <cstddef>

#include "markdown/line_scan.h"

namespace markdown {

bool opensCodeBlock(std::string_view line) {
  return startsWith(line, "```") && dotRunReachesEnd(line, 3);
}

bool opensLatexBlock(std::string_view line) {
  return startsWith(line, "$$") && dotRunReachesEnd(line, 2);
}

bool opensHeadline(std::string_view line) {
  // "(?:#){1,6}" may give back number signs, but the space must follow the
  // last one it keeps, so only the whole run of them can be taken.
  const std::size_t level = line.find_first_not_of('#');
  if (level == 0 || level > 6 || level == std::string_view::npos) return false;
  return line[level] == ' ' && dotRunReachesEnd(line, level + 1);
}

bool isHorizontalRule(std::string_view line) { return line == "---"; }

bool opensQuote(std::string_view line) {
  return startsWith(line, ">") && dotRunReachesEnd(line, 1);
}

bool opensTable(std::string_view line) { return line == "|table>"; }

}  // namespace markdown
