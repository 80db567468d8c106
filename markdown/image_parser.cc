#include "markdown/image_parser.h"

#include "markdown/bracket_span_rewriter.h"

namespace markdown {

void ImageParser::rewrite(std::string& line) {
  rewriteBracketSpans(line, {"![", "<img src=\"", "\" alt=\"", "\"/>"});
}

}  // namespace markdown
