#include "markdown/italic_parser.h"

#include "markdown/guarded_span_rewriter.h"

namespace markdown {

void ItalicParser::rewrite(std::string& line) {
  rewriteGuardedSpans(line, {'*', 1, "<i>", "</i>"});
}

}  // namespace markdown
