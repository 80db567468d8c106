#ifndef ONDREL_MARKDOWN_LINE_SCAN_H_
#define ONDREL_MARKDOWN_LINE_SCAN_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace markdown {

// The converter's patterns are ECMAScript expressions in which "." matches any
// character but a carriage return or a line feed. These helpers give the
// hand-written matchers that meaning of "." and a few common tests.

inline bool isLineBreak(char c) { return c == '\r' || c == '\n'; }

// The end of what ".*" can match from `from`: the first CR or LF at or after
// it, or the end of the line.
std::size_t dotRunEnd(std::string_view line, std::size_t from);

// Whether ".*" can match the whole rest of the line from `from`.
inline bool dotRunReachesEnd(std::string_view line, std::size_t from) {
  return dotRunEnd(line, from) == line.size();
}

inline bool startsWith(std::string_view line, std::string_view prefix) {
  return line.substr(0, prefix.size()) == prefix;
}

inline bool contains(std::string_view line, std::string_view part) {
  return line.find(part) != std::string_view::npos;
}

// Replaces the first `length` characters of the line with `replacement`; the
// form every start-anchored rewrite takes once its match is known.
void replaceLeading(std::string& line, std::size_t length, std::string_view replacement);

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_LINE_SCAN_H_
