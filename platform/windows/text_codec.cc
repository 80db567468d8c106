#include "platform/text_codec.h"

#include <vector>

#include "platform/windows/native_text.h"

namespace ondrel::platform {

std::optional<WideString> ansiToWide(const char* text) {
  if (text == nullptr) return std::nullopt;
  const int needed = MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::vector<wchar_t> buffer(std::size_t(needed), L'\0');
  if (MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, buffer.data(), needed) <= 0) {
    return std::nullopt;
  }
  return fromNative(buffer.data());
}

std::string wideToAnsi(WideView text) {
  if (text.empty()) return {};
  const WideString source(text);
  const int needed = WideCharToMultiByte(CP_THREAD_ACP, 0, native(source), int(source.size()),
                                         nullptr, 0, nullptr, nullptr);
  if (needed <= 0) return {};
  std::string converted(std::size_t(needed), '\0');
  WideCharToMultiByte(CP_THREAD_ACP, 0, native(source), int(source.size()), converted.data(),
                      needed, nullptr, nullptr);
  return converted;
}

}  // namespace ondrel::platform
