#ifndef ONDREL_MARKDOWN_INLINE_CODE_PARSER_H_
#define ONDREL_MARKDOWN_INLINE_CODE_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Code spans, "<code>$1</code>" for "`([^`]*)`". The content is not escaped.
class InlineCodeParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_INLINE_CODE_PARSER_H_
