#ifndef ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_
#define ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "capture/capture_request.h"
#include "text/wide_text.h"

namespace ondrel {

// The staged page for a document: for a document in a folder, a first line
// with the base element of its folder (base_element.h); then the converter's
// HTML of the document's bytes and one line end. Every line ends in CR LF.
// The document's code page is not used: the page declares no character set
// and its bytes pass through. Throws std::bad_alloc when memory runs out.
std::string stagedPageText(const MarkdownDocument& document);

// The HTML page that the browser is shown instead of the Markdown document
// at `pagePath`, converted with `convert` (empty: stagedPageText), which is
// told the document's folder and `codePage`. An unreadable document gives
// the page of an empty one. Nothing when the conversion failed (memory ran
// out, or the converter threw anything else).
std::optional<std::string> markdownPageFor(const WideString& pagePath,
                                           const MarkdownConverter& convert,
                                           std::uint32_t codePage);

// The same for a document already in memory, such as a memory image's.
std::optional<std::string> markdownPageOf(const MarkdownDocument& document,
                                          const MarkdownConverter& convert);

// The document as a text-mode read sees it: each CR LF pair becomes LF and a
// 0x1A byte ends the text; a CR on its own stays.
std::string readAsText(std::string_view bytes);

// Text as a text-mode write stores it: each LF becomes CR LF.
std::string writeAsText(std::string_view text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_MARKDOWN_STAGING_H_
