#ifndef ONDREL_MARKDOWN_BLOCKS_LATEX_BLOCK_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_LATEX_BLOCK_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// A LaTeX block from a line starting with "$$" to a line ending with "$$"
// (possibly the same line), kept as written, each line followed by a line
// feed, for a script on the page to typeset.
class LatexBlockParser : public BlockParser {
 public:
  LatexBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return false; }
  void transformLine(std::string& line) override;

 private:
  bool opened = false;
  bool done = false;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_LATEX_BLOCK_PARSER_H_
