#ifndef ONDREL_CAPTURE_STAGING_GFM_GFM_DOCUMENT_H_
#define ONDREL_CAPTURE_STAGING_GFM_GFM_DOCUMENT_H_

#include <cmark-gfm-extension_api.h>
#include <cmark-gfm.h>

#include <mutex>
#include <string>
#include <string_view>

#include "capture/staging/gfm/parser_memory.h"

namespace ondrel {

// A Markdown document as GitHub's own parser reads it, and the one place that sets that parser
// up: cmark-gfm with the extensions table, strikethrough, autolink, tasklist and tagfilter and
// the options CMARK_OPT_UNSAFE and CMARK_OPT_FOOTNOTES, so that its HTML is what
//   cmark-gfm --unsafe -e table -e strikethrough -e autolink -e tasklist -e tagfilter -e footnotes
// writes. Raw HTML passes, but for the tags GitHub disarms (<script>, <iframe>, <style>, ...).
// The node tree may be changed before it is rendered.
//
// cmark-gfm keeps state of the whole process: while it parses inlines it marks its extensions'
// characters in a table that a parser finishing on another thread would clear, and its
// extensions are registered in a list that goes with the module. A document therefore holds
// the module's one turn at cmark-gfm for its whole life: threads convert one at a time, and
// the list is released at unload unless a document still holds the turn.
class GfmDocument {
 public:
  // Waits for the turn and parses `markdown`, whose bytes cmark-gfm reads as UTF-8, into nodes
  // of `memory`, which must outlive the document. Throws std::bad_alloc when memory runs out
  // and std::length_error for a document larger than CmarkMemory::kLargestDocument.
  // `ownSyntax`, when given, is a syntax extension of ondrel's own that the parser runs too,
  // after cmark-gfm's; it must outlive the document.
  GfmDocument(std::string_view markdown, CmarkMemory& memory,
              cmark_syntax_extension* ownSyntax = nullptr);
  ~GfmDocument();
  GfmDocument(const GfmDocument&) = delete;
  GfmDocument& operator=(const GfmDocument&) = delete;

  cmark_node* root() const { return root_; }

  // A new node for the tree: only nodes of the document's own memory can be put into it.
  // `extension` is the syntax extension whose node kind `type` is, if any.
  cmark_node* newNode(cmark_node_type type, cmark_syntax_extension* extension = nullptr) const;

  // The syntax extension of that name, which must be one of cmark-gfm's own.
  cmark_syntax_extension* extension(const char* name) const;

  // The tree as HTML.
  std::string html() const;

 private:
  std::unique_lock<std::mutex> turn_;
  CmarkMemory& memory_;
  cmark_parser* parser_ = nullptr;
  cmark_node* root_ = nullptr;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_GFM_DOCUMENT_H_
