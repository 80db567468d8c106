#ifndef ONDREL_MARKDOWN_BLOCKS_HORIZONTAL_LINE_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_HORIZONTAL_LINE_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// A one-line block: the line "---" becomes "<hr/>".
class HorizontalLineParser : public BlockParser {
 public:
  HorizontalLineParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  bool isDone() const override { return true; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return false; }
  // The replacement of "^---$" with "<hr/>"; only the whole line "---" matches.
  void transformLine(std::string& line) override;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_HORIZONTAL_LINE_PARSER_H_
