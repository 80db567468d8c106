#ifndef ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_
#define ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_

#include <optional>
#include <string>
#include <string_view>

#include "capture/capture_request.h"
#include "text/wide_text.h"

namespace ondrel {

// The staged page for a document's bytes: the converter's HTML and one line
// end, with text-mode line ends. Throws std::bad_alloc when memory runs out.
std::string stagedPageText(std::string_view documentBytes);

// The HTML page that the browser is shown instead of the Markdown document
// at `pagePath`, converted with `convert` (empty: stagedPageText). An
// unreadable document gives the page of an empty one. Nothing when the
// conversion failed (memory ran out, or the converter threw anything else).
std::optional<std::string> markdownPageFor(const WideString& pagePath,
                                           const MarkdownConverter& convert);

// The same for a document's bytes, as a memory image hands them over.
std::optional<std::string> markdownPageOf(std::string_view documentBytes,
                                          const MarkdownConverter& convert);

// The document as a text-mode read sees it: each CR LF pair becomes LF and a
// 0x1A byte ends the text; a CR on its own stays.
std::string readAsText(std::string_view bytes);

// Text as a text-mode write stores it: each LF becomes CR LF.
std::string writeAsText(std::string_view text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_
