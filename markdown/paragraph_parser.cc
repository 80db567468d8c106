#include "markdown/paragraph_parser.h"

#include <utility>

namespace markdown {

ParagraphParser::ParagraphParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                                 bool paragraphTags)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)),
      paragraphTags(paragraphTags) {}

void ParagraphParser::transformLine(std::string& line) {
  if (!opened) {
    if (paragraphTags) line.insert(0, "<p>");
    line += ' ';
    opened = true;
  } else if (line.empty()) {
    line = paragraphTags ? "</p>" : "<br/>";
    done = true;
  } else {
    line += ' ';
  }
}

}  // namespace markdown
