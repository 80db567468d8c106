#include "markdown/strike_through_parser.h"

#include "markdown/guarded_span_rewriter.h"

namespace markdown {

void StrikeThroughParser::rewrite(std::string& line) {
  rewriteGuardedSpans(line, {'~', 2, "<s>", "</s>"});
}

}  // namespace markdown
