#include "markdown/blocks/unordered_list_parser.h"

#include <string_view>
#include <utility>

#include "markdown/line_scan.h"

namespace markdown {
namespace {

constexpr std::string_view kEndMarkers[] = {"</li><li>", "</li></ol>", "</li></ul>"};
constexpr ListMarkup kMarkup = {"<ul><li>", "</li><li>", "</li></ul>", kEndMarkers};

bool hasBulletMarker(const std::string& line) {
  return line.size() >= 2 && (line[0] == '+' || line[0] == '*' || line[0] == '-') && line[1] == ' ';
}

}  // namespace

UnorderedListParser::UnorderedListParser(InlineFormatter formatInline,
                                         NestedBlockMaker makeNestedBlock)
    : ListBlockParser(std::move(formatInline), std::move(makeNestedBlock), kMarkup) {}

bool UnorderedListParser::startsBlock(const std::string& line) {
  return hasBulletMarker(line) && dotRunReachesEnd(line, 2);
}

void UnorderedListParser::removeItemMarkers(std::string& line) {
  if (hasBulletMarker(line)) line.erase(0, 2);
}

}  // namespace markdown
