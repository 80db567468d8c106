#include "markdown/blocks/headline_parser.h"

#include <cstddef>
#include <utility>

#include "markdown/line_scan.h"

namespace markdown {

HeadlineParser::HeadlineParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock,
                               bool inlineFormatting)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)),
      inlineFormatting(inlineFormatting) {}

void HeadlineParser::transformLine(std::string& line) {
  for (int level = 1; level <= 6; ++level) rewriteLevel(line, level);
}

void HeadlineParser::rewriteLevel(std::string& line, int level) {
  const std::size_t marks = static_cast<std::size_t>(level);
  if (line.size() <= marks || line[marks] != ' ') return;
  if (line.find_first_not_of('#') < marks) return;
  const std::size_t textEnd = dotRunEnd(line, marks + 1);
  const std::string tag = std::to_string(level);
  std::string result = "<h" + tag + ">";
  result.append(line, marks + 1, textEnd - marks - 1);
  result += "</h" + tag + ">";
  result.append(line, textEnd, std::string::npos);
  line = std::move(result);
}

}  // namespace markdown
