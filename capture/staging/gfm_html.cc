#include "capture/staging/gfm_html.h"

#include <md4c-html.h>

#include <limits>
#include <new>
#include <stdexcept>

namespace ondrel {
namespace {

// md4c is C: nothing may be thrown through it. A failed append is noted, the
// rest of the output dropped, and the failure raised once md4c has returned.
struct HtmlSink {
  std::string html;
  bool outOfMemory = false;
};

void appendToSink(const MD_CHAR* text, MD_SIZE size, void* userData) noexcept {
  HtmlSink& sink = *static_cast<HtmlSink*>(userData);
  if (sink.outOfMemory) return;
  try {
    sink.html.append(text, size);
  } catch (...) {
    sink.outOfMemory = true;
  }
}

}  // namespace

std::string gfmHtml(std::string_view markdown) {
  if (markdown.size() > std::numeric_limits<MD_SIZE>::max()) {
    throw std::length_error("document too large for md4c");
  }
  HtmlSink sink;
  // The output is rarely much longer than the document.
  sink.html.reserve(markdown.size() + markdown.size() / 4 + 16);
  const int status = md_html(markdown.data(), static_cast<MD_SIZE>(markdown.size()), appendToSink,
                             &sink, MD_DIALECT_GITHUB, 0);
  // md4c fails only when its own allocations do.
  if (status != 0 || sink.outOfMemory) throw std::bad_alloc();
  return std::move(sink.html);
}

}  // namespace ondrel
