#ifndef ONDREL_MARKDOWN_STRIKE_THROUGH_PARSER_H_
#define ONDREL_MARKDOWN_STRIKE_THROUGH_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Strike-through, "<s>$1</s>" for
//   "(?!.*`.*|.*<code>.*)\~\~(?!.*`.*|.*<\/code>.*)([^\~]*)\~\~(?!.*`.*|.*<\/code>.*)"
class StrikeThroughParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_STRIKE_THROUGH_PARSER_H_
