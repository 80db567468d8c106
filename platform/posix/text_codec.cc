#include "platform/text_codec.h"

namespace ondrel::platform {

// Narrow text is UTF-8 here.
std::optional<WideString> ansiToWide(const char* text) {
  if (text == nullptr) return std::nullopt;
  return utf8ToWide(text);
}

std::string wideToAnsi(WideView text) { return wideToUtf8(text); }

}  // namespace ondrel::platform
