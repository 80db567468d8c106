#include "markdown/blocks/html_parser.h"

#include <utility>

namespace markdown {

HtmlParser::HtmlParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void HtmlParser::transformLine(std::string& line) {
  if (line.empty()) {
    if (lastLineEndedWithTag) done = true;
    return;
  }
  lastLineEndedWithTag = line.back() == '>';
  if (!lastLineEndedWithTag) line += ' ';
}

}  // namespace markdown
