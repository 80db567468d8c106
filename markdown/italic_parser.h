#ifndef ONDREL_MARKDOWN_ITALIC_PARSER_H_
#define ONDREL_MARKDOWN_ITALIC_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Asterisk italics, "<i>$1</i>" for
//   "(?!.*`.*|.*<code>.*)\*(?!.*`.*|.*<\/code>.*)([^\*]*)\*(?!.*`.*|.*<\/code>.*)"
// Runs after InlineCodeParser, so the guard meets code spans as tags.
class ItalicParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_ITALIC_PARSER_H_
