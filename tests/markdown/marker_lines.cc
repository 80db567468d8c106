#include "tests/markdown/marker_lines.h"

#include <iterator>

namespace markdown::test_support {
namespace {

// Fragments that may start a line: the block and list markers.
const char* const kOpeners[] = {
    "```", "``", "$$", "$",      "# ",     "## ",    "###### ", "####### ", "#",   "---",  "--- ",
    ">",   "> ", ">>", "- [ ] ", "- [x] ", "- [|] ", "- [X] ",  "1. ",      "2. ", "10. ", "01. ",
    "* ",  "+ ", "- ", "-",      "[ ]",    "[x]",    "|table>", " ",        "  ",  "\t",
};

// Fragments anywhere in a line: every marker character, alone and paired,
// the code span tags (whole and broken) and line ends.
const char* const kPieces[] = {
    "*", "**", "_",  "__", "~",  "~~", "`",    "<code>", "</code>",  "<code", "code>", "[", "]",
    "(", ")",  "![", "](", "!",  "<",  ">",    "/",      "#",        "-",     "+",     "|", "x",
    " ", "1",  ".",  "a",  "bc", "\r", "\r\n", "\n",     "\xC3\xA9", "\t",    "$",
};

}  // namespace

std::string MarkerLines::next(unsigned maxPieces) {
  std::string line;
  if (below(3) != 0) line += focusOr(kOpeners[below(std::size(kOpeners))]);
  const unsigned pieces = below(maxPieces + 1);
  for (unsigned i = 0; i < pieces; ++i) line += focusOr(kPieces[below(std::size(kPieces))]);
  return line;
}

const char* MarkerLines::focusOr(const char* other) {
  if (focus_.empty() || below(2) == 0) return other;
  return focus_[below(static_cast<unsigned>(focus_.size()))].c_str();
}

}  // namespace markdown::test_support
