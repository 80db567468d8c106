#include "capture/staging/document_text.h"

#include "capture/staging/markdown_staging.h"
#include "platform/text_codec.h"
#include "text/wide_text.h"

namespace ondrel {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LittleEndianMark = "\xFF\xFE";
constexpr std::string_view kUtf16BigEndianMark = "\xFE\xFF";

// Text mode works on the decoded text here: a UTF-16 character may hold a
// 0x1A or a line feed byte.
std::string utf16Text(std::string_view bytes, ByteOrder order) {
  return readAsText(wideToUtf8(utf16FromBytes(bytes, order)));
}

}  // namespace

std::string utf8DocumentText(std::string_view bytes, std::uint32_t codePage) {
  if (bytes.starts_with(kUtf16LittleEndianMark)) {
    return utf16Text(bytes.substr(kUtf16LittleEndianMark.size()), ByteOrder::kLittleEndian);
  }
  if (bytes.starts_with(kUtf16BigEndianMark)) {
    return utf16Text(bytes.substr(kUtf16BigEndianMark.size()), ByteOrder::kBigEndian);
  }
  // Legacy code pages keep 0x1A, CR and LF out of their characters, so the
  // text ends and its lines break where the bytes say; what follows an end
  // mark decides nothing.
  std::string text = readAsText(bytes);
  if (isWellFormedUtf8(text)) return text;
  if (text.starts_with(kUtf8Mark)) return wideToUtf8(utf8ToWide(text));
  return platform::codePageToUtf8(text, codePage);
}

}  // namespace ondrel
