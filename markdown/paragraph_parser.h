#ifndef ONDREL_MARKDOWN_PARAGRAPH_PARSER_H_
#define ONDREL_MARKDOWN_PARAGRAPH_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// The block of last resort: takes every line up to an empty one, each
// followed by one space, inline-formatted, and either encloses them in
// "<p>" ... "</p>" or ends them with "<br/>".
class ParagraphParser : public BlockParser {
 public:
  ParagraphParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                  bool paragraphTags);

  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return true; }
  void transformLine(std::string& line) override;

 private:
  bool opened = false;
  bool done = false;
  const bool paragraphTags;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_PARAGRAPH_PARSER_H_
