#include "markdown/block_parser.h"

#include <utility>

namespace markdown {

BlockParser::BlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : formatInline(std::move(formatInline)), makeNestedBlock(std::move(makeNestedBlock)) {}

BlockParser::~BlockParser() = default;

void BlockParser::feedLine(std::string& line) {
  transformLine(line);
  openNestedBlock(line);
  if (passToNestedBlock(line)) return;
  applyInlineFormatting(line);
  blockOutput.append(line);
}

void BlockParser::openNestedBlock(const std::string& line) {
  if (nestedBlock || !acceptsNestedBlocks() || !makeNestedBlock) return;
  if (nestingDepth >= kMaxNestingDepth) return;
  nestedBlock = makeNestedBlock(line);
  if (nestedBlock) nestedBlock->nestingDepth = nestingDepth + 1;
}

bool BlockParser::passToNestedBlock(std::string& line) {
  if (!nestedBlock) return false;
  nestedBlock->feedLine(line);
  if (nestedBlock->isDone()) {
    blockOutput.append(std::move(nestedBlock->blockOutput));
    nestedBlock.reset();
  }
  return true;
}

void BlockParser::applyInlineFormatting(std::string& line) {
  if (appliesInlineFormatting() && formatInline) formatInline(line);
}

}  // namespace markdown
