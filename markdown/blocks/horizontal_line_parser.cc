#include "markdown/blocks/horizontal_line_parser.h"

#include <utility>

#include "markdown/block_start_patterns.h"

namespace markdown {

HorizontalLineParser::HorizontalLineParser(InlineFormatter formatInline,
                                           NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void HorizontalLineParser::transformLine(std::string& line) {
  if (isHorizontalRule(line)) line = "<hr/>";
}

}  // namespace markdown
