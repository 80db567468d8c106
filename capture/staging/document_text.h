#ifndef ONDREL_CAPTURE_STAGING_DOCUMENT_TEXT_H_
#define ONDREL_CAPTURE_STAGING_DOCUMENT_TEXT_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace ondrel {

// A document's text as UTF-8, read in text mode (readAsText), whatever it
// was written in:
// - UTF-16 with a byte-order mark, little- or big-endian, is converted, the
//   mark dropped;
// - well-formed UTF-8, with or without a byte-order mark, stays as it is;
// - UTF-8 behind a byte-order mark keeps its well-formed characters, every
//   other byte becomes U+FFFD;
// - anything else is decoded from the Windows code page `codePage`
//   (platform::codePageToUtf8).
// A decoder works on the whole document: a legacy code page's second bytes
// include "\" and "|", which a Markdown parser would take for its own.
// Throws std::bad_alloc when memory runs out.
std::string utf8DocumentText(std::string_view bytes, std::uint32_t codePage);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_DOCUMENT_TEXT_H_
