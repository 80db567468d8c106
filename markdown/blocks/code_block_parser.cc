#include "markdown/blocks/code_block_parser.h"

#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

constexpr std::string_view kFence = "```";

}  // namespace

CodeBlockParser::CodeBlockParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void CodeBlockParser::transformLine(std::string& line) {
  if (line == kFence) {
    line = opened ? "</code></pre>" : "<pre><code>\n";
    done = opened;
    opened = !opened;
  } else if (!opened && startsWith(line, kFence)) {
    line = "<pre class=\"" + line.substr(kFence.size()) + "\"><code>\n";
    opened = true;
  } else {
    line += '\n';
  }
}

}  // namespace markdown
