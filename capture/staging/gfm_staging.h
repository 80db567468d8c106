#ifndef ONDREL_CAPTURE_STAGING_GFM_STAGING_H_
#define ONDREL_CAPTURE_STAGING_GFM_STAGING_H_

#include <string>
#include <string_view>

#include "capture/capture_request.h"
#include "capture/staging/drawing_assets.h"
#include "text/wide_text.h"

namespace ondrel {

// The staged page of a GitHub-flavoured Markdown document: a complete HTML5
// document, "<!DOCTYPE html>", the UTF-8 declaration, for a document in a
// folder the base element of the folder (base_element.h), `style` as its
// style sheet and cmark-gfm's HTML of the document with everything GitHub
// shows beyond it: alerts and front matter (see gfmHtml). The document is
// read as UTF-8 text in text mode, decoded from its code page when it is in
// none of Unicode's forms (document_text.h); the page is written in text
// mode, as the built-in staging does. Throws std::bad_alloc when memory runs
// out, std::length_error for a document larger than cmark-gfm can take.
//
// With `drawing`, the page also draws what the document holds and the assets
// have: fenced code in a language highlighted by highlight.js, math ("$...$",
// "$$...$$", "```math") typeset by KaTeX, "```mermaid" diagrams drawn by
// Mermaid; its head loads only the scripts those need, and a document with
// none of them gets the page it gets without `drawing`.
std::string gfmStagedPageText(const MarkdownDocument& document, std::string_view style,
                              const std::optional<DrawingAssets>& drawing = std::nullopt);

// The style sheet for GitHub-flavoured pages: the text of the CSS file at
// `stylePath`, read in text mode, without a byte-order mark; the built-in one
// when the path is empty or the file cannot be read, so that a bad setting
// costs the look and never the picture.
std::string gfmStyleSheet(const WideString& stylePath);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_STAGING_H_
