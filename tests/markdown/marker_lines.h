#ifndef ONDREL_TESTS_MARKDOWN_MARKER_LINES_H_
#define ONDREL_TESTS_MARKDOWN_MARKER_LINES_H_

#include <cstdint>
#include <random>
#include <string>
#include <vector>

namespace markdown::test_support {

// A deterministic source of short lines dense in the characters and
// fragments that the converter's patterns react to: every marker, code span
// tags, CR and LF, list and block markers at the start, and a non-ASCII byte.
// std::mt19937 is fully specified, so every platform sees the same lines.
class MarkerLines {
 public:
  // `focus` holds fragments of one pattern; they make up about half of each
  // line, so that the pattern's rarer matches come up often.
  MarkerLines(std::uint32_t seed, std::vector<std::string> focus)
      : random_(seed), focus_(std::move(focus)) {}

  // A line of up to `maxPieces` fragments after an optional opening one.
  std::string next(unsigned maxPieces);

 private:
  unsigned below(unsigned bound) { return static_cast<unsigned>(random_() % bound); }

  const char* focusOr(const char* other);

  std::mt19937 random_;
  std::vector<std::string> focus_;
};

}  // namespace markdown::test_support

#endif  // ONDREL_TESTS_MARKDOWN_MARKER_LINES_H_
