#ifndef ONDREL_MARKDOWN_GUARDED_SPAN_REWRITER_H_
#define ONDREL_MARKDOWN_GUARDED_SPAN_REWRITER_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace markdown {

// The emphasis rewrite shared by the italic, emphasized, strike-through and
// strong kinds. For a marker M made of `markerLength` (1 or 2) copies of the
// character c it gives exactly what std::regex_replace gives for
//   "(?!.*`.*|.*<code>.*)" M "(?!.*`.*|.*<\/code>.*)([^c]*)" M "(?!.*`.*|.*<\/code>.*)"
// with the format openTag "$1" closeTag: every non-overlapping match, leftmost
// first, is replaced and the text around the matches is kept.
//
// A match at s needs M at s, both guards clear at s and after M, and M again
// at the first c after the opening marker, followed by a clear guard. The
// group cannot hold c, so a failed closing test leaves no other choice to try
// at s; the search then moves on to s + 1.
struct GuardedSpan {
  char marker;
  std::size_t markerLength;
  std::string_view openTag;
  std::string_view closeTag;
};

void rewriteGuardedSpans(std::string& line, const GuardedSpan& span);

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_GUARDED_SPAN_REWRITER_H_
