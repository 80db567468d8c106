#include "markdown/blocks/quote_parser.h"

#include <utility>

#include "markdown/line_scan.h"

namespace markdown {

QuoteParser::QuoteParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void QuoteParser::feedLine(std::string& line) {
  if (!opened) {
    blockOutput.append("<blockquote>");
    opened = true;
  }
  const bool emptyAsReceived = line.empty();
  transformLine(line);
  openNestedBlock(line);
  if (passToNestedBlock(line)) return;
  applyInlineFormatting(line);
  if (emptyAsReceived) {
    blockOutput.append("</blockquote>");
    done = true;
  }
  blockOutput.append(line);
}

void QuoteParser::transformLine(std::string& line) {
  if (startsWith(line, "> ")) line.erase(0, 2);
  if (startsWith(line, ">")) line.erase(0, 1);
  if (!line.empty()) line += ' ';
}

}  // namespace markdown
