#ifndef ONDREL_MARKDOWN_LINK_PARSER_H_
#define ONDREL_MARKDOWN_LINK_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Links: each match of "\[([^\]]*)\]\(([^\]]*)\)" becomes <a href="$2">$1</a>.
// The address may hold ")" and reaches to the last one before the next "]".
class LinkParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_LINK_PARSER_H_
