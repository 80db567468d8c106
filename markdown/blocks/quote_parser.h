#ifndef ONDREL_MARKDOWN_BLOCKS_QUOTE_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_QUOTE_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// A block quote. Each line loses its quote marker and is parsed again by the
// full block selection, so a quote holds any block kind, quotes included. The
// quote ends only on a line that is empty as received and arrives while no
// nested block is open, which is why a quote ending in a paragraph or a list
// needs two empty lines.
class QuoteParser : public BlockParser {
 public:
  QuoteParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  void feedLine(std::string& line) override;
  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return true; }
  bool appliesInlineFormatting() const override { return true; }
  // "^\> " removed, then "^\>" removed, then one space appended to a line
  // that is not empty.
  void transformLine(std::string& line) override;

 private:
  bool opened = false;
  bool done = false;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_QUOTE_PARSER_H_
