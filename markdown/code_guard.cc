#include "markdown/code_guard.h"

#include "markdown/line_scan.h"

namespace markdown {

CodeGuard::CodeGuard(std::string_view line) : flags_(line.size() + 1, 0) {
  // Walk backwards; `blocked` holds what lies between the current position
  // and the next line break, and a line break starts afresh.
  unsigned char blocked = 0;
  for (std::size_t i = line.size(); i-- > 0;) {
    const char c = line[i];
    if (isLineBreak(c)) {
      blocked = 0;
    } else if (c == '`') {
      blocked = kOpeningBlocked | kClosingBlocked;
    } else if (c == '<') {
      const std::string_view rest = line.substr(i);
      if (startsWith(rest, "<code>")) blocked |= kOpeningBlocked;
      if (startsWith(rest, "</code>")) blocked |= kClosingBlocked;
    }
    flags_[i] = blocked;
  }
}

}  // namespace markdown
