#ifndef ONDREL_MARKDOWN_BREAK_LINE_PARSER_H_
#define ONDREL_MARKDOWN_BREAK_LINE_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Turns carriage returns into line breaks: "(\r\n|\r)" becomes "<br>".
// Lines arrive split at line feeds, so in practice every CR left in a line
// becomes "<br>"; this kind runs after every other has seen them.
class BreakLineParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BREAK_LINE_PARSER_H_
