#ifndef ONDREL_MARKDOWN_BLOCKS_TABLE_PARSER_H_
#define ONDREL_MARKDOWN_BLOCKS_TABLE_PARSER_H_

#include <cstddef>
#include <string>
#include <vector>

#include "markdown/block_parser.h"

namespace markdown {

// A table between the lines "|table>" and "|<table". Every other line is a row
// of cells separated by "|", except "- | - | -", which starts the next
// section. With two or more sections the first is the head, with three or
// more the last is the foot, and the rest are bodies. Nothing is written
// before the closing line; a table that is never closed leaves no output.
class TableParser : public BlockParser {
 public:
  TableParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock);

  void feedLine(std::string& line) override;
  bool isDone() const override { return done; }
  bool acceptsNestedBlocks() const override { return false; }
  bool appliesInlineFormatting() const override { return true; }
  // Writes the whole table to the output; the line is not used.
  void transformLine(std::string& line) override;

 private:
  using Row = std::vector<std::string>;
  using Section = std::vector<Row>;

  void addRow(const std::string& line);

  bool opened = false;
  bool done = false;
  std::size_t sectionIndex = 0;  // the section that data lines go to
  std::vector<Section> sections;
};

}  // namespace markdown

#endif  // ONDREL_MARKDOWN_BLOCKS_TABLE_PARSER_H_
