#include "markdown/blocks/checklist_parser.h"

#include <string_view>
#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

constexpr std::string_view kEndMarkers[] = {"</label></li><li><label>", "</label></li></ul>"};
constexpr ListMarkup kMarkup = {
    "<ul class=\"checklist\"><li><label>",
    "</label></li><li><label>",
    "</label></li></ul>",
    kEndMarkers,
};

}  // namespace

ChecklistParser::ChecklistParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : ListBlockParser(std::move(formatInline), std::move(makeNestedBlock), kMarkup) {}

bool ChecklistParser::startsBlock(const std::string& line) {
  if (line.size() < 6 || !startsWith(line, "- [") || line.compare(4, 2, "] ") != 0) return false;
  const char mark = line[3];
  return (mark == 'x' || mark == '|' || mark == ' ') && dotRunReachesEnd(line, 6);
}

void ChecklistParser::removeItemMarkers(std::string& line) {
  if (startsWith(line, "- ")) line.erase(0, 2);
  if (startsWith(line, "[ ]")) replaceLeading(line, 3, "<input type=\"checkbox\"/>");
  if (startsWith(line, "[x]")) {
    replaceLeading(line, 3, "<input type=\"checkbox\" checked=\"checked\"/>");
  }
}

}  // namespace markdown
