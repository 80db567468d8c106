#ifndef ONDREL_CAPTURE_PAGE_KIND_SNIFFING_H_
#define ONDREL_CAPTURE_PAGE_KIND_SNIFFING_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "capture/page_kinds.h"

namespace ondrel {

// How far into an image a NUL byte makes it no text.
inline constexpr std::size_t kTextTestBytes = 4096;

// The kind of a page handed over without a name, read from its bytes. A
// viewer asks for such a picture only after its name was taken, so every
// text is one of the kinds; what decides is how the text begins, after an
// optional byte-order mark (UTF-8, or UTF-16 in either order) and white
// space:
// - an SVG drawing: a root element `svg` (under any namespace prefix) after
//   an optional XML declaration, comments and a doctype;
// - an HTML page: a doctype `html`, or an `<html`, `<head` or `<body` tag
//   (any letter case), after the same declaration and comments;
// - a Markdown document: any other text, one with no NUL among its first
//   kTextTestBytes bytes (UTF-16: no NUL unit).
// Nothing for anything else. The bytes are read once at most, in linear time.
std::optional<PageKind> sniffPageKind(std::span<const std::uint8_t> bytes);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_KIND_SNIFFING_H_
