#ifndef ONDREL_MARKDOWN_BRACKET_SPAN_REWRITER_H_
#define ONDREL_MARKDOWN_BRACKET_SPAN_REWRITER_H_

#include <string>
#include <string_view>

namespace markdown {

// The rewrite shared by links and images. For an opening `opener` ("[" or
// "![") it gives exactly what std::regex_replace gives for
//   opener "([^\]]*)\]\(([^\]]*)\)"
// with the format beforeAddress "$2" betweenAddressAndText "$1" afterText:
// every non-overlapping match, leftmost first, is replaced.
//
// The text runs to the first "]" after the opener, which must be followed by
// "("; the address then backtracks to the last ")" before the next "]" (or the
// end of the line). Every opener before that first "]" shares these two
// searches, so a failed attempt skips past the "]" at once; this keeps the
// rewrite linear however many openers a line holds.
struct BracketSpan {
  std::string_view opener;
  std::string_view beforeAddress;
  std::string_view betweenAddressAndText;
  std::string_view afterText;
};

void rewriteBracketSpans(std::string& line, const BracketSpan& span);

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BRACKET_SPAN_REWRITER_H_
