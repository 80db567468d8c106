#ifndef ONDREL_MARKDOWN_BLOCKS_HTML_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_HTML_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// Raw HTML passed through untouched, lines joined without line breaks (a
// space after each line that does not end with ">"), up to the first empty
// line that follows a line ending with ">".
class HtmlParser : public BlockParser {
 public:
  HtmlParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return false; }
  void transformLine(std::string& line) override;

 private:
  bool done = false;
  bool lastLineEndedWithTag = false;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_HTML_PARSER_H_
