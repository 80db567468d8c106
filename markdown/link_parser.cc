#include "markdown/link_parser.h"

#include "markdown/bracket_span_rewriter.h"

namespace markdown {

void LinkParser::rewrite(std::string& line) {
  rewriteBracketSpans(line, {"[", "<a href=\"", "\">", "</a>"});
}

}  // namespace markdown
