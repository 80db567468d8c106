#ifndef ONDREL_MARKDOWN_BLOCK_START_PATTERNS_H_
#define ONDREL_MARKDOWN_BLOCK_START_PATTERNS_H_

#include <string_view>

namespace markdown {

// The driver's start tests. Each one answers what std::regex_match (a match of
// the whole line) answers for the pattern quoted with it; as "." does not
// match CR or LF, a line holding one after the marker never passes.

// "^(?:`){3}(.*)$"
bool opensCodeBlock(std::string_view line);

// "^(?:\$){2}(.*)$"
bool opensLatexBlock(std::string_view line);

// "^(?:#){1,6} (.*)"
bool opensHeadline(std::string_view line);

// "^---$"
bool isHorizontalRule(std::string_view line);

// "^\>.*"
bool opensQuote(std::string_view line);

// Not a pattern: the line must be exactly the table marker "|table>".
bool opensTable(std::string_view line);

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCK_START_PATTERNS_H_
