#include "capture/staging/gfm/github_alerts.h"

#include <string>
#include <string_view>

namespace ondrel {
namespace {

// Each kind's icon is drawn in the title's colour, from the shapes the kind names.
constexpr std::string_view kIconStart =
    "<svg class=\"markdown-alert-icon\" viewBox=\"0 0 16 16\" width=\"16\" height=\"16\" "
    "fill=\"none\" stroke=\"currentColor\" stroke-width=\"1.5\" stroke-linecap=\"round\" "
    "stroke-linejoin=\"round\" aria-hidden=\"true\">";
constexpr std::string_view kIconEnd = "</svg>";

struct AlertKind {
  std::string_view marker;
  std::string_view name;
  std::string_view title;
  std::string_view iconShapes;
};

constexpr AlertKind kAlertKinds[] = {
    {"[!NOTE]", "note", "Note",
     "<circle cx=\"8\" cy=\"8\" r=\"6.25\"/><path d=\"M8 7.25v4\"/>"
     "<circle cx=\"8\" cy=\"4.75\" r=\".25\" fill=\"currentColor\"/>"},
    {"[!TIP]", "tip", "Tip",
     "<path d=\"M5.75 10.5C4.5 9.6 3.75 8.2 3.75 6.5a4.25 4.25 0 0 1 8.5 0"
     "c0 1.7-.75 3.1-2 4v1.75h-4.5z\"/><path d=\"M6.5 14.5h3\"/>"},
    {"[!IMPORTANT]", "important", "Important",
     "<path d=\"M3.25 2.25h9.5a1 1 0 0 1 1 1v7a1 1 0 0 1-1 1H8l-3 2.5v-2.5"
     "H3.25a1 1 0 0 1-1-1v-7a1 1 0 0 1 1-1z\"/><path d=\"M8 4.75v3\"/>"
     "<circle cx=\"8\" cy=\"9.5\" r=\".25\" fill=\"currentColor\"/>"},
    {"[!WARNING]", "warning", "Warning",
     "<path d=\"M8 1.75l6.5 11.75h-13z\"/><path d=\"M8 6v3.5\"/>"
     "<circle cx=\"8\" cy=\"11.5\" r=\".25\" fill=\"currentColor\"/>"},
    {"[!CAUTION]", "caution", "Caution",
     "<path d=\"M5.3 1.75h5.4l3.55 3.55v5.4l-3.55 3.55H5.3l-3.55-3.55V5.3z\"/>"
     "<path d=\"M8 4.75v4\"/>"
     "<circle cx=\"8\" cy=\"11\" r=\".25\" fill=\"currentColor\"/>"},
};

bool equalsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
    if (lower(a[i]) != lower(b[i])) return false;
  }
  return true;
}

bool isLineEnd(cmark_node* node) {
  const cmark_node_type type = cmark_node_get_type(node);
  return type == CMARK_NODE_SOFTBREAK || type == CMARK_NODE_LINEBREAK;
}

// The kind whose marker the paragraph's first line is, alone; the parser has merged the
// marker's brackets and letters into one text node.
const AlertKind* markedKind(cmark_node* paragraph) {
  cmark_node* marker = cmark_node_first_child(paragraph);
  if (cmark_node_get_type(marker) != CMARK_NODE_TEXT) return nullptr;
  cmark_node* after = cmark_node_next(marker);
  if (after != nullptr && !isLineEnd(after)) return nullptr;
  const char* text = cmark_node_get_literal(marker);
  if (text == nullptr) return nullptr;
  for (const AlertKind& kind : kAlertKinds) {
    if (equalsIgnoringAsciiCase(text, kind.marker)) return &kind;
  }
  return nullptr;
}

// The kind of alert the quote is, or nothing: a quote of just a marker stays a quote.
const AlertKind* alertKindOf(cmark_node* quote) {
  cmark_node* first = cmark_node_first_child(quote);
  if (cmark_node_get_type(first) != CMARK_NODE_PARAGRAPH) return nullptr;
  const AlertKind* kind = markedKind(first);
  const bool holdsMore = cmark_node_next(cmark_node_first_child(first)) != nullptr ||
                         cmark_node_next(first) != nullptr;
  return holdsMore ? kind : nullptr;
}

// Takes the marker line out of the quote's first paragraph, and the paragraph when that was all.
void removeMarkerLine(cmark_node* quote) {
  cmark_node* paragraph = cmark_node_first_child(quote);
  cmark_node* marker = cmark_node_first_child(paragraph);
  cmark_node* lineEnd = cmark_node_next(marker);
  cmark_node_free(marker);
  cmark_node_free(lineEnd != nullptr ? lineEnd : paragraph);
}

std::string openingOf(const AlertKind& kind) {
  std::string opening = "<div class=\"markdown-alert markdown-alert-";
  opening += kind.name;
  opening += "\">\n<p class=\"markdown-alert-title\">";
  opening += kIconStart;
  opening += kind.iconShapes;
  opening += kIconEnd;
  opening += kind.title;
  opening += "</p>";
  return opening;
}

void turnIntoAlert(const GfmDocument& document, cmark_node* quote, const AlertKind& kind) {
  removeMarkerLine(quote);
  cmark_node* alert = document.newNode(CMARK_NODE_CUSTOM_BLOCK);
  cmark_node_set_on_enter(alert, openingOf(kind).c_str());
  cmark_node_set_on_exit(alert, "</div>");
  cmark_node_insert_before(quote, alert);
  while (cmark_node* child = cmark_node_first_child(quote)) cmark_node_append_child(alert, child);
  cmark_node_free(quote);
}

}  // namespace

void makeGithubAlerts(const GfmDocument& document) {
  cmark_node* block = cmark_node_first_child(document.root());
  while (block != nullptr) {
    cmark_node* next = cmark_node_next(block);
    if (cmark_node_get_type(block) == CMARK_NODE_BLOCK_QUOTE) {
      if (const AlertKind* kind = alertKindOf(block)) turnIntoAlert(document, block, *kind);
    }
    block = next;
  }
}

}  // namespace ondrel
