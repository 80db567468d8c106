#include "markdown/blocks/latex_block_parser.h"

#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

constexpr std::string_view kDelimiter = "$$";

bool endsWithDelimiter(const std::string& line) {
  return line.size() >= kDelimiter.size() &&
         line.compare(line.size() - kDelimiter.size(), kDelimiter.size(), kDelimiter) == 0;
}

}  // namespace

LatexBlockParser::LatexBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void LatexBlockParser::transformLine(std::string& line) {
  if (!opened && startsWith(line, kDelimiter)) opened = true;
  // The opening line is tested too: "$$x$$" and "$$" alone are whole blocks.
  if (opened && !done && endsWithDelimiter(line)) {
    opened = false;
    done = true;
  }
  line += '\n';
}

}  // namespace markdown
