#ifndef ONDREL_MARKDOWN_CODE_GUARD_H_
#define ONDREL_MARKDOWN_CODE_GUARD_H_

#include <cstddef>
#include <string_view>
#include <vector>

namespace markdown {

// The code guard of the emphasis patterns, answered for every position of a
// line at once. The patterns read
//   "(?!.*`.*|.*<code>.*)" before the opening marker and
//   "(?!.*`.*|.*<\/code>.*)" after each marker:
// a lookahead fails when a backtick (or the named tag) starts anywhere between
// the position and the next CR or LF, where "." stops. Evaluated position by
// position that costs time quadratic in the line; one backward pass over the
// line answers every position in constant time instead.
class CodeGuard {
 public:
  explicit CodeGuard(std::string_view line);

  // Whether "(?!.*`.*|.*<code>.*)" fails at `position` (0 to line size).
  bool blocksOpening(std::size_t position) const { return flags_[position] & kOpeningBlocked; }
  // Whether "(?!.*`.*|.*<\/code>.*)" fails at `position` (0 to line size).
  bool blocksClosing(std::size_t position) const { return flags_[position] & kClosingBlocked; }

 private:
  static constexpr unsigned char kOpeningBlocked = 1;
  static constexpr unsigned char kClosingBlocked = 2;

  std::vector<unsigned char> flags_;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_CODE_GUARD_H_
