#include "capture/staging/gfm/gfm_document.h"

#include <cmark-gfm-core-extensions.h>

#include <mutex>
#include <stdexcept>

#include "capture/staging/gfm/parser_internals.h"

namespace ondrel {
namespace {

constexpr int kOptions = CMARK_OPT_UNSAFE | CMARK_OPT_FOOTNOTES;

// In the order of the command line in gfm_document.h; footnotes are an option there, not an
// extension.
constexpr const char* kExtensions[] = {"table", "strikethrough", "autolink", "tasklist",
                                       "tagfilter"};

// cmark-gfm's core extensions as this module's copy of the library registers them, in a list
// of the library's that is released with the module, so that loading and unloading the module
// leaves nothing behind; and the turn at the library, which every document holds.
class CoreExtensions {
 public:
  static CoreExtensions& ofThisModule() {
    static CoreExtensions extensions;
    return extensions;
  }

  CoreExtensions() { cmark_gfm_core_extensions_ensure_registered(); }

  // At unload another thread may hold the turn for good (a thread ended mid-conversion as its
  // process exits); the list then stays, since nobody can say that it is no longer used.
  ~CoreExtensions() {
    std::unique_lock<std::mutex> turn(turn_, std::try_to_lock);
    if (turn.owns_lock()) cmark_release_plugins();
  }

  std::mutex& turn() { return turn_; }

  cmark_syntax_extension* find(const char* name) const {
    cmark_syntax_extension* extension = cmark_find_syntax_extension(name);
    if (extension == nullptr) throw std::logic_error("cmark-gfm lacks a core extension");
    return extension;
  }

 private:
  std::mutex turn_;
};

}  // namespace

GfmDocument::GfmDocument(std::string_view markdown, CmarkMemory& memory,
                         cmark_syntax_extension* ownSyntax)
    : turn_(CoreExtensions::ofThisModule().turn()), memory_(memory) {
  if (markdown.size() > CmarkMemory::kLargestDocument) {
    throw std::length_error("document too large for cmark-gfm");
  }
  // Should parsing throw, what it made is left to `memory`: a parser cut short by an exception
  // cannot be taken apart by its own functions.
  parser_ = cmark_parser_new_with_mem(kOptions, memory_.allocator());
  for (const char* name : kExtensions) {
    cmark_parser_attach_syntax_extension(parser_, extension(name));
  }
  if (ownSyntax != nullptr) cmark_parser_attach_syntax_extension(parser_, ownSyntax);
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
  return CoreExtensions::ofThisModule().find(name);
}

std::string GfmDocument::html() const {
  char* html = cmark_render_html_with_mem(
      root_, kOptions, cmark_parser_get_syntax_extensions(parser_), memory_.allocator());
  std::string text(html);
  memory_.allocator()->free(html);
  return text;
}

}  // namespace ondrel
