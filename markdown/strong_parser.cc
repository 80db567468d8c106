#include "markdown/strong_parser.h"

#include "markdown/guarded_span_rewriter.h"

namespace markdown {

void StrongParser::rewrite(std::string& line) {
  rewriteGuardedSpans(line, {'*', 2, "<strong>", "</strong>"});
  rewriteGuardedSpans(line, {'_', 2, "<strong>", "</strong>"});
}

}  // namespace markdown
