#include "platform/text_codec.h"

#include "platform/posix/iconv_decoder.h"
#include "platform/posix/iconv_names.h"

namespace ondrel::platform {

// Narrow text is UTF-8 here.
std::optional<WideString> ansiToWide(const char* text) {
  if (text == nullptr) return std::nullopt;
  return utf8ToWide(text);
}

std::string wideToAnsi(WideView text) { return wideToUtf8(text); }

std::string codePageToUtf8(std::string_view bytes, std::uint32_t codePage) {
  std::optional<IconvDecoder> decoder = IconvDecoder::from(iconvNameFor(codePage));
  if (!decoder) decoder = IconvDecoder::from(iconvNameFor(kAnsiCodePage));
  // Without iconv's converters (a host that cannot find them) only UTF-8
  // reads; every other byte above ASCII becomes U+FFFD.
  if (!decoder) return wideToUtf8(utf8ToWide(bytes));
  return decoder->decode(bytes);
}

}  // namespace ondrel::platform
