#ifndef ONDREL_MARKDOWN_LINE_PARSER_H_
#define ONDREL_MARKDOWN_LINE_PARSER_H_

#include <string>

namespace markdown {

// An inline formatting pass: rewrites the span markup of one line into HTML.
// Implementations keep no state between calls, so one object serves every line.
class LineParser {
 public:
  virtual ~LineParser() = default;
  virtual void rewrite(std::string& line) = 0;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_LINE_PARSER_H_
