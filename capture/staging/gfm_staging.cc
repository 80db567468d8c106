#include "capture/staging/gfm_staging.h"

#include <optional>

#include "capture/staging/base_element.h"
#include "capture/staging/document_text.h"
#include "capture/staging/drawing_page.h"
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

// What goes into the page beyond the document's HTML when it is drawn: the
// head's assets and, after the body, the script that draws with them.
struct Drawing {
  std::string head;
  std::string tail;
};

// The base comes before the style sheet, whose relative URLs it also sets.
std::string pageOf(const std::optional<std::string>& folderUrl, std::string_view style,
                   std::string_view body, const Drawing& drawing) {
  const std::string base = baseLineFor(folderUrl);
  std::string page;
  page.reserve(kPageStart.size() + base.size() + kStyleStart.size() + style.size() +
               kStyleEnd.size() + drawing.head.size() + body.size() + drawing.tail.size() + 1);
  page += kPageStart;
  page += base;
  page += kStyleStart;
  page += style;
  if (!style.empty() && style.back() != '\n') page.push_back('\n');
  page += kStyleEnd;
  page += drawing.head;
  page += body;
  page += drawing.tail;
  return page;
}

// Math is read as math only when KaTeX is there to typeset it: without it,
// "$x$" stays the text it is on a page that draws nothing.
GithubAdditions additionsFor(const std::optional<DrawingAssets>& drawing) {
  GithubAdditions additions = kAllGithubAdditions;
  additions.math = drawing && drawing->katex;
  return additions;
}

}  // namespace

std::string gfmStagedPageText(const MarkdownDocument& document, std::string_view style,
                              const std::optional<DrawingAssets>& drawing) {
  const GfmBody body =
      gfmBody(utf8DocumentText(document.bytes, document.codePage), additionsFor(drawing));
  Drawing parts;
  if (drawing) {
    const DrawingNeeds needs = drawableNeeds(body.needs, *drawing);
    parts = {drawingHead(needs, *drawing), drawingTail(needs)};
  }
  return writeAsText(pageOf(document.folderUrl, style, body.html, parts));
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
