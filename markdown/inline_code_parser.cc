#include "markdown/inline_code_parser.h"

namespace markdown {

void InlineCodeParser::rewrite(std::string& line) {
  std::string result;
  std::size_t copied = 0;
  std::size_t start = line.find('`');
  while (start != std::string::npos) {
    const std::size_t end = line.find('`', start + 1);
    if (end == std::string::npos) break;
    if (copied == 0) result.reserve(line.size());
    result.append(line, copied, start - copied);
    result.append("<code>");
    result.append(line, start + 1, end - start - 1);
    result.append("</code>");
    copied = end + 1;
    start = line.find('`', copied);
  }
  if (copied == 0) return;
  result.append(line, copied, std::string::npos);
  line = std::move(result);
}

}  // namespace markdown
