#include "capture/devtools/message_framer.h"

namespace ondrel::devtools {

std::optional<std::string> MessageFramer::next() {
  const std::size_t end = pending_.find('\0', searchedUpTo_);
  if (end == std::string::npos) {
    searchedUpTo_ = pending_.size();
    overflowed_ = pending_.size() > largestMessage_;
    return std::nullopt;
  }
  if (end > largestMessage_) {
    overflowed_ = true;
    return std::nullopt;
  }
  std::string message = pending_.substr(0, end);
  pending_.erase(0, end + 1);
  searchedUpTo_ = 0;
  return message;
}

}  // namespace ondrel::devtools
