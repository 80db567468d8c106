#include "capture/staging/gfm_staging.h"

#include <optional>

#include "capture/staging/gfm/gfm_html.h"
#include "capture/staging/gfm_style.h"
#include "capture/staging/markdown_staging.h"
#include "platform/files.h"

namespace ondrel {
namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Before the style sheet: the page is HTML5 and its bytes are UTF-8 whatever
// the browser's locale would guess.
constexpr std::string_view kPageHead =
    "<!DOCTYPE html>\n"
    "<meta charset=\"utf-8\">\n"
    "<style>\n";
constexpr std::string_view kStyleEnd = "</style>\n";

std::string pageOf(std::string_view style, std::string_view body) {
  std::string page;
  page.reserve(kPageHead.size() + style.size() + kStyleEnd.size() + body.size() + 1);
  page += kPageHead;
  page += style;
  if (!style.empty() && style.back() != '\n') page.push_back('\n');
  page += kStyleEnd;
  page += body;
  return page;
}

}  // namespace

std::string gfmStagedPageText(std::string_view documentBytes, std::string_view style) {
  const std::string body = gfmHtml(readAsText(documentBytes), kAllGithubAdditions);
  return writeAsText(pageOf(style, body));
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
