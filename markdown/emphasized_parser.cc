#include "markdown/emphasized_parser.h"

#include "markdown/guarded_span_rewriter.h"

namespace markdown {

void EmphasizedParser::rewrite(std::string& line) {
  rewriteGuardedSpans(line, {'_', 1, "<em>", "</em>"});
}

}  // namespace markdown
