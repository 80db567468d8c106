#ifndef ONDREL_MARKDOWN_STRONG_PARSER_H_
#define ONDREL_MARKDOWN_STRONG_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Strong emphasis, "<strong>$1</strong>" for two patterns run one after the
// other, the second on the result of the first:
//   "(?!.*`.*|.*<code>.*)\*\*(?!.*`.*|.*<\/code>.*)([^\*\*]*)\*\*(?!.*`.*|.*<\/code>.*)"
//   "(?!.*`.*|.*<code>.*)__(?!.*`.*|.*<\/code>.*)([^__]*)__(?!.*`.*|.*<\/code>.*)"
// Each class names its marker twice and so excludes just that one character.
class StrongParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_STRONG_PARSER_H_
