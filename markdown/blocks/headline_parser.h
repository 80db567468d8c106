#ifndef ONDREL_MARKDOWN_BLOCKS_HEADLINE_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_HEADLINE_PARSER_H_

#include <string>

#include "markdown/block_parser.h"

namespace markdown {

// A one-line block: "# Title" to "###### Title" become "<h1>" to "<h6>". The
// text after the one space is kept as it is, spaces and "#" included.
class HeadlineParser : public BlockParser {
 public:
  HeadlineParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                 bool inlineFormatting);

  bool isDone() const override { return true; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return inlineFormatting; }
  // Runs the rewrites of levels 1 to 6 in turn, each on the result of the last.
  void transformLine(std::string& line) override;

  // The rewrite of one level, the replacement of "^(?:#){level} (.*)" (for
  // level 1, "^# (.*)") with "<hlevel>$1</hlevel>". The group stops at the
  // first CR or LF; what follows it is kept after the closing tag.
  static void rewriteLevel(std::string& line, int level);

 private:
  const bool inlineFormatting;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_HEADLINE_PARSER_H_
