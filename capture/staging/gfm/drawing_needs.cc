#include "capture/staging/gfm/drawing_needs.h"

#include <string_view>

namespace ondrel {
namespace {

// cmark-gfm's HTML names a block's language by the info string's first word.
std::string_view languageOf(cmark_node* codeBlock) {
  const char* info = cmark_node_get_fence_info(codeBlock);
  if (info == nullptr) return {};
  const std::string_view text(info);
  return text.substr(0, text.find_first_of(" \t\r\n"));
}

void addNeedsOf(std::string_view language, DrawingNeeds& needs) {
  if (language.empty()) return;
  if (language == "math") {
    needs.math = true;
  } else if (language == "mermaid") {
    needs.diagrams = true;
  } else {
    needs.code = true;
  }
}

}  // namespace

DrawingNeeds drawingNeedsOfBlocks(cmark_node* root) {
  DrawingNeeds needs;
  cmark_iter* iter = cmark_iter_new(root);
  for (cmark_event_type event = cmark_iter_next(iter); event != CMARK_EVENT_DONE;
       event = cmark_iter_next(iter)) {
    cmark_node* node = cmark_iter_get_node(iter);
    if (event == CMARK_EVENT_ENTER && cmark_node_get_type(node) == CMARK_NODE_CODE_BLOCK) {
      addNeedsOf(languageOf(node), needs);
    }
  }
  cmark_iter_free(iter);
  return needs;
}

}  // namespace ondrel
