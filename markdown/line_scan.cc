#include "markdown/line_scan.h"

namespace markdown {

std::size_t dotRunEnd(std::string_view line, std::size_t from) {
  if (from >= line.size()) return from;
  // Two vectorised searches beat one byte-by-byte loop on long lines.
  const std::string_view rest = line.substr(from);
  const std::size_t carriageReturn = rest.find('\r');
  const std::size_t lineFeed = rest.substr(0, carriageReturn).find('\n');
  const std::size_t end = lineFeed != std::string_view::npos ? lineFeed : carriageReturn;
  return end == std::string_view::npos ? line.size() : from + end;
}

void replaceLeading(std::string& line, std::size_t length, std::string_view replacement) {
  line.replace(0, length, replacement);
}

}  // namespace markdown
