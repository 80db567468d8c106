#include "platform/profile_reader.h"

#include <vector>

#include "platform/windows/native_text.h"

namespace ondrel::platform {

WideString readProfileString(const WideString& file, WideView section, WideView key,
                             WideView fallback, std::size_t capacity) {
  if (capacity == 0) return {};
  std::vector<wchar_t> buffer(capacity, L'\0');
  GetPrivateProfileStringW(native(terminated(section)), native(terminated(key)),
                           native(terminated(fallback)), buffer.data(), DWORD(capacity),
                           native(file));
  return fromNative(buffer.data());
}

int readProfileInt(const WideString& file, WideView section, WideView key, int fallback) {
  return int(GetPrivateProfileIntW(native(terminated(section)), native(terminated(key)), fallback,
                                   native(file)));
}

}  // namespace ondrel::platform
