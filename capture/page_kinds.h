#ifndef ONDREL_CAPTURE_PAGE_KINDS_H_
#define ONDREL_CAPTURE_PAGE_KINDS_H_

#include <optional>

#include "text/wide_text.h"

namespace ondrel {

// What the browser is shown: a page as it is, a Markdown document staged as
// a page first, or an SVG drawing shown at the size it declares.
enum class PageKind { kHtml, kMarkdown, kSvgDrawing };

struct PageExtension {
  const char16_t* extension;  // with its dot, in lower case
  PageKind kind;
};

// Every file name extension the plug-in takes, in the order its file
// patterns list them.
inline constexpr PageExtension kPageExtensions[] = {
    {u".html", PageKind::kHtml},
    {u".htm", PageKind::kHtml},
    {u".md", PageKind::kMarkdown},
    {u".svg", PageKind::kSvgDrawing},
};

// Drawings alone are taken or refused by the SVG setting; pages and
// documents are always taken.
constexpr bool followsSvgSetting(PageKind kind) { return kind == PageKind::kSvgDrawing; }

// The kind that the extension of `fileName` names, letter case ignored;
// nothing for any other file.
std::optional<PageKind> pageKindOf(WideView fileName);

// The first extension that names `kind`, with its dot.
WideView extensionOf(PageKind kind);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_KINDS_H_
