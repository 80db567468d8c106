#ifndef ONDREL_MARKDOWN_IMAGE_PARSER_H_
#define ONDREL_MARKDOWN_IMAGE_PARSER_H_

#include <string>

#include "markdown/line_parser.h"

namespace markdown {

// Images: each match of "\!\[([^\]]*)\]\(([^\]]*)\)" becomes <img src="$2" alt="$1"/>.
// Runs before LinkParser so that an image never becomes "!" and a link.
class ImageParser : public LineParser {
 public:
  void rewrite(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_IMAGE_PARSER_H_
