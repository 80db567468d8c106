#include "markdown/break_line_parser.h"

namespace markdown {

void BreakLineParser::rewrite(std::string& line) {
  std::size_t breakAt = line.find('\r');
  if (breakAt == std::string::npos) return;
  std::string result;
  result.reserve(line.size());
  std::size_t copied = 0;
  while (breakAt != std::string::npos) {
    result.append(line, copied, breakAt - copied);
    result.append("<br>");
    // The alternation tries "\r\n" first, so a following LF goes with the CR.
    copied = breakAt + 1;
    if (copied < line.size() && line[copied] == '\n') ++copied;
    breakAt = line.find('\r', copied);
  }
  result.append(line, copied, std::string::npos);
  line = std::move(result);
}

}  // namespace markdown
