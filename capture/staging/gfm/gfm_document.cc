#include "capture/staging/gfm/gfm_document.h"

#include <cmark-gfm-core-extensions.h>

#include <mutex>
#include <stdexcept>

namespace ondrel {
namespace {

constexpr int kOptions = CMARK_OPT_UNSAFE | CMARK_OPT_FOOTNOTES;

// In the order of the command line above; footnotes are an option, not an extension.
constexpr const char* kExtensions[] = {"table", "strikethrough", "autolink", "tasklist",
                                       "tagfilter"};

cmark_syntax_extension* registeredExtension(const char* name) {
  // Registering fills a list of the whole process, which is only read afterwards.
  static const bool registered = [] {
    cmark_gfm_core_extensions_ensure_registered();
    return true;
  }();
  (void)registered;
  cmark_syntax_extension* extension = cmark_find_syntax_extension(name);
  if (extension == nullptr) throw std::logic_error("cmark-gfm lacks a core extension");
  return extension;
}

// While cmark-gfm parses a document's inlines it marks its extensions' characters in a table of
// the whole process, and clears them when done: a parser finishing on another thread would
// clear them under this one, which would then miss strikethrough and autolinks. Documents are
// therefore parsed one at a time.
std::mutex& parsingTurn() {
  static std::mutex turn;
  return turn;
}

}  // namespace

GfmDocument::GfmDocument(std::string_view markdown, CmarkMemory& memory) : memory_(memory) {
  if (markdown.size() > CmarkMemory::kLargestDocument) {
    throw std::length_error("document too large for cmark-gfm");
  }
  // Should parsing throw, what it made is left to `memory`: a parser cut short by an exception
  // cannot be taken apart by its own functions.
  std::lock_guard<std::mutex> turn(parsingTurn());
  parser_ = cmark_parser_new_with_mem(kOptions, memory_.allocator());
  for (const char* name : kExtensions) {
    cmark_parser_attach_syntax_extension(parser_, registeredExtension(name));
  }
  cmark_parser_feed(parser_, markdown.data(), markdown.size());
  root_ = cmark_parser_finish(parser_);
}

GfmDocument::~GfmDocument() {
  cmark_node_free(root_);
  cmark_parser_free(parser_);
}

cmark_node* GfmDocument::newNode(cmark_node_type type, cmark_syntax_extension* extension) const {
  return cmark_node_new_with_mem_and_ext(type, memory_.allocator(), extension);
}

cmark_syntax_extension* GfmDocument::extension(const char* name) const {
  return registeredExtension(name);
}

std::string GfmDocument::html() const {
  char* html = cmark_render_html_with_mem(
      root_, kOptions, cmark_parser_get_syntax_extensions(parser_), memory_.allocator());
  std::string text(html);
  memory_.allocator()->free(html);
  return text;
}

}  // namespace ondrel
