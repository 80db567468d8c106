#include "markdown/blocks/table_parser.h"

#include <string_view>
#include <utility>

namespace markdown {
namespace {

constexpr std::string_view kOpeningLine = "|table>";
constexpr std::string_view kSeparatorLine = "- | - | -";
constexpr std::string_view kClosingLine = "|<table";

struct SectionTags {
  std::string_view open, close, cellOpen, cellClose;
};

constexpr SectionTags kHead = {"<thead>", "</thead>", "<th>", "</th>"};
constexpr SectionTags kBody = {"<tbody>", "</tbody>", "<td>", "</td>"};
constexpr SectionTags kFoot = {"<tfoot>", "</tfoot>", "<td>", "</td>"};

const SectionTags& tagsFor(std::size_t index, std::size_t count) {
  if (count >= 2 && index == 0) return kHead;
  if (count >= 3 && index == count - 1) return kFoot;
  return kBody;
}

}  // namespace

TableParser::TableParser(InlineFormatter formatInline, NestedBlockMaker makeNestedBlock)
    : BlockParser(std::move(formatInline), std::move(makeNestedBlock)) {}

void TableParser::feedLine(std::string& line) {
  if (!opened) {
    opened = line == kOpeningLine;
  } else if (line == kSeparatorLine) {
    ++sectionIndex;
  } else if (line == kClosingLine) {
    std::string unused;
    transformLine(unused);
    done = true;
  } else {
    addRow(line);
  }
}

void TableParser::addRow(const std::string& line) {
  // Separators with no row between them leave empty sections behind, so the
  // section that this row belongs to always exists.
  if (sections.size() <= sectionIndex) sections.resize(sectionIndex + 1);
  Row& row = sections[sectionIndex].emplace_back();
  // Cells are the pieces between "|"; a trailing "|" adds no empty cell.
  std::size_t cellBegin = 0;
  while (cellBegin < line.size()) {
    std::size_t cellEnd = line.find('|', cellBegin);
    if (cellEnd == std::string::npos) cellEnd = line.size();
    std::string cell = line.substr(cellBegin, cellEnd - cellBegin);
    if (formatInline) formatInline(cell);
    row.push_back(std::move(cell));
    cellBegin = cellEnd + 1;
  }
}

void TableParser::transformLine(std::string&) {
  blockOutput.append("<table>");
  for (std::size_t index = 0; index < sections.size(); ++index) {
    const SectionTags& tags = tagsFor(index, sections.size());
    blockOutput.append(tags.open);
    for (const Row& row : sections[index]) {
      blockOutput.append("<tr>");
      for (const std::string& cell : row) {
        blockOutput.append(tags.cellOpen);
        blockOutput.append(cell);
        blockOutput.append(tags.cellClose);
      }
      blockOutput.append("</tr>");
    }
    blockOutput.append(tags.close);
  }
  blockOutput.append("</table>");
}

}  // namespace markdown
