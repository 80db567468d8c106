#ifndef ONDREL_CAPTURE_MARKDOWN_STAGING_H_
#define ONDREL_CAPTURE_MARKDOWN_STAGING_H_

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "capture/capture_files.h"
#include "text/wide_text.h"

namespace ondrel {

// Turns a Markdown document's bytes into the bytes of the page to stage.
using MarkdownConverter = std::function<std::string(std::string_view documentBytes)>;

// The staged page for a document's bytes: the converter's HTML and one line
// end, with text-mode line ends. Throws std::bad_alloc when memory runs out.
std::string stagedPageText(std::string_view documentBytes);

// Converts the Markdown document at `pagePath` with `convert` into the HTML
// page that the browser is shown instead, staged among the capture's files;
// its full name. An unreadable document stages an empty page. Nothing when
// the conversion failed (memory ran out, or the converter threw anything
// else) or the page could not be written, so that the capture gives up.
std::optional<WideString> stageMarkdown(const WideString& pagePath, CaptureFiles& files,
                                        const MarkdownConverter& convert = stagedPageText);

// The document as a text-mode read sees it: each CR LF pair becomes LF and a
// 0x1A byte ends the text; a CR on its own stays.
std::string readAsText(std::string_view bytes);

// Text as a text-mode write stores it: each LF becomes CR LF.
std::string writeAsText(std::string_view text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_MARKDOWN_STAGING_H_
