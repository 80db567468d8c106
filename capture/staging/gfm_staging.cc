#include "capture/staging/gfm_staging.h"

#include <optional>

#include "capture/staging/base_element.h"
#include "capture/staging/document_text.h"
#include "capture/staging/gfm/gfm_html.h"
#include "capture/staging/gfm_style.h"
#include "capture/staging/markdown_staging.h"
#include "platform/files.h"

namespace ondrel {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// The page is HTML5 and its bytes are UTF-8 whatever the browser's locale
// would guess.
constexpr std::string_view kPageStart =
    "<!DOCTYPE html>\n"
    "<meta charset=\"utf-8\">\n";
constexpr std::string_view kStyleStart = "<style>\n";
constexpr std::string_view kStyleEnd = "</style>\n";

// The base comes before the style sheet, whose relative URLs it also sets.
std::string pageOf(const std::optional<std::string>& folderUrl, std::string_view style,
                   std::string_view body) {
  const std::string base = baseLineFor(folderUrl);
  std::string page;
  page.reserve(kPageStart.size() + base.size() + kStyleStart.size() + style.size() +
               kStyleEnd.size() + body.size() + 1);
  page += kPageStart;
  page += base;
  page += kStyleStart;
  page += style;
  if (!style.empty() && style.back() != '\n') page.push_back('\n');
  page += kStyleEnd;
  page += body;
  return page;
}

}  // namespace

std::string gfmStagedPageText(const MarkdownDocument& document, std::string_view style) {
  const std::string body =
      gfmHtml(utf8DocumentText(document.bytes, document.codePage), kAllGithubAdditions);
  return writeAsText(pageOf(document.folderUrl, style, body));
}

std::string gfmStyleSheet(const WideString& stylePath) {
  std::optional<std::string> file;
  if (!stylePath.empty()) file = platform::readFileBytes(stylePath);
  if (!file) return std::string(builtInGfmStyle());
  std::string_view bytes = *file;
  if (bytes.starts_with(kUtf8ByteOrderMark)) bytes.remove_prefix(kUtf8ByteOrderMark.size());
  return readAsText(bytes);
}

}  // namespace ondrel
