#ifndef ONDREL_CAPTURE_DEVTOOLS_MESSAGE_FRAMER_H_
#define ONDREL_CAPTURE_DEVTOOLS_MESSAGE_FRAMER_H_

#include <cstddef>
#include <optional>
#include <string>

namespace ondrel::devtools {

// Cuts the bytes a browser writes to its remote-debugging pipe into
// messages: each message ends with one NUL byte.
class MessageFramer {
 public:
  // A message longer than `largestMessage` bytes is refused, so a browser
  // gone wrong cannot make the host hold ever more.
  explicit MessageFramer(std::size_t largestMessage) : largestMessage_(largestMessage) {}

  // Where received bytes go; append to it.
  std::string& pending() { return pending_; }

  // The next whole message without its NUL, taken out of the pending bytes;
  // nothing while none is complete.
  std::optional<std::string> next();

  // Whether the message under way has grown past the largest allowed, as
  // the last call of next() found.
  bool overflowed() const { return overflowed_; }

 private:
  std::size_t largestMessage_;
  std::string pending_;
  std::size_t searchedUpTo_ = 0;  // no NUL before this offset
  bool overflowed_ = false;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_MESSAGE_FRAMER_H_
