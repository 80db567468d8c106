#ifndef ONDREL_MARKDOWN_EMPHASIZED_PARSER_H_
#define ONDREL_MARKDOWN_EMPHASIZED_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Underscore emphasis, "<em>$1</em>" for
//   "(?!.*`.*|.*<code>.*)_(?!.*`.*|.*<\/code>.*)([^_]*)_(?!.*`.*|.*<\/code>.*)"
// A span is rewritten only when no code span follows it on the line.
class EmphasizedParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_EMPHASIZED_PARSER_H_
