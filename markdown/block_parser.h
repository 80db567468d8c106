#ifndef ONDREL_MARKDOWN_BLOCK_PARSER_H_
#define ONDREL_MARKDOWN_BLOCK_PARSER_H_

#include <functional>
#include <memory>
#include <string>

#include "markdown/text_buffer.h"

namespace markdown {

// How many blocks may be open inside one another, the top-level block
// included. Quotes and lists nest by recursion through feedLine, and a chain
// of nested blocks is released by recursion through their destructors; the
// cap bounds both, so no document can exhaust the stack. Real documents stay
// far below it. A block at the cap opens no nested block: it handles the
// line as its own, as when its chooser finds no block kind for the line.
inline constexpr int kMaxNestingDepth = 256;

// A block of a Markdown document. The driver makes one for the line that
// opens it, feeds it that line and the following ones, and takes its HTML
// once isDone() reports true. A block may host one nested block at a time, to
// which it forwards its lines until that block ends.
class BlockParser {
 public:
  // Rewrites a line in place with the inline formatting parsers.
  using InlineFormatter = std::function<void(std::string&)>;
  // Returns the block that a line opens inside this one, or nothing.
  using NestedBlockMaker = std::function<std::shared_ptr<BlockParser>(const std::string&)>;

  // Either callback may be empty: no inline formatting, or no nested blocks.
  BlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);
  virtual ~BlockParser();

  BlockParser(const BlockParser&) = delete;
  BlockParser& operator=(const BlockParser&) = delete;

  // Takes the next line. The standard intake: transformLine, then hand the
  // line to the nested block (opening one if possible), or else format it and
  // append it to the output with nothing in between.
  virtual void feedLine(std::string& line);
  virtual bool isDone() const = 0;
  virtual bool acceptsNestedBlocks() const = 0;
  virtual bool appliesInlineFormatting() const = 0;
  // The kind's own rewrite of each line; may record that the block ended.
  virtual void transformLine(std::string& line) = 0;

  // Appends the block's HTML so far; complete once isDone() is true.
  void appendOutputTo(std::string& out) const { blockOutput.appendTo(out); }

 protected:
  // Asks makeNestedBlock for a block when none is open, within the depth cap.
  void openNestedBlock(const std::string& line);
  // Feeds the line to the open nested block, taking its output and releasing
  // it when it ends. Returns false when no nested block is open.
  bool passToNestedBlock(std::string& line);
  void applyInlineFormatting(std::string& line);

  TextBuffer blockOutput;
  std::shared_ptr<BlockParser> nestedBlock;
  InlineFormatter formatInline;
  NestedBlockMaker makeNestedBlock;

 private:
  int nestingDepth = 1;  // 1 for a top-level block
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCK_PARSER_H_
