#ifndef ONDREL_MARKDOWN_BLOCKS_CODE_BLOCK_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_CODE_BLOCK_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// A fenced code block: the opening fence becomes "<pre><code>" (or, with text
// after the three backticks, "<pre class=\"text\"><code>"), body lines pass
// unchanged, each followed by a line feed, and a line of exactly three
// backticks closes with "</code></pre>". Nothing is escaped.
class CodeBlockParser : public BlockParser {
 public:
  CodeBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return false; }
  void transformLine(std::string& line) override;

 private:
  bool opened = false;
  bool done = false;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_CODE_BLOCK_PARSER_H_
