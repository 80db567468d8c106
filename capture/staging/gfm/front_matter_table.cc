#include "capture/staging/gfm/front_matter_table.h"

#include <cmark-gfm-core-extensions.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <span>
#include <string>

#include "capture/staging/gfm/parser_internals.h"

namespace ondrel {
namespace {

// A table counts its columns in 16 bits.
constexpr std::size_t kMostColumns = std::numeric_limits<std::uint16_t>::max();

cmark_node* cellOf(const GfmDocument& document, const std::string& text) {
  // Made plain and given the extension afterwards: made with it, a cell would get data of the
  // extension's that the extension never frees.
  cmark_node* cell = document.newNode(CMARK_NODE_TABLE_CELL);
  cmark_node_set_syntax_extension(cell, document.extension("table"));
  cmark_node* literal = document.newNode(CMARK_NODE_TEXT);
  cmark_node_set_literal(literal, text.c_str());
  cmark_node_append_child(cell, literal);
  return cell;
}

cmark_node* rowOf(const GfmDocument& document, std::span<const FrontMatterEntry> entries,
                  bool isHead) {
  cmark_node* row = document.newNode(CMARK_NODE_TABLE_ROW, document.extension("table"));
  cmark_gfm_extensions_set_table_row_is_header(row, isHead);
  for (const FrontMatterEntry& entry : entries) {
    cmark_node_append_child(row, cellOf(document, isHead ? entry.key : entry.value));
  }
  return row;
}

}  // namespace

void insertFrontMatterTable(const GfmDocument& document,
                            const std::vector<FrontMatterEntry>& entries) {
  if (entries.empty()) return;
  const std::span<const FrontMatterEntry> shown(entries.data(),
                                                std::min(entries.size(), kMostColumns));
  const auto columns = static_cast<std::uint16_t>(shown.size());
  cmark_node* table = document.newNode(CMARK_NODE_TABLE, document.extension("table"));
  cmark_gfm_extensions_set_table_columns(table, columns);
  std::vector<std::uint8_t> unaligned(columns, 0);
  cmark_gfm_extensions_set_table_alignments(table, columns, unaligned.data());
  cmark_node_append_child(table, rowOf(document, shown, true));
  cmark_node_append_child(table, rowOf(document, shown, false));

  cmark_node* frame = document.newNode(CMARK_NODE_CUSTOM_BLOCK);
  cmark_node_set_on_enter(frame, "<div class=\"front-matter\">");
  cmark_node_set_on_exit(frame, "</div>");
  cmark_node_append_child(frame, table);
  cmark_node_prepend_child(document.root(), frame);
}

}  // namespace ondrel
