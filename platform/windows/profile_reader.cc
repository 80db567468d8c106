#include "platform/profile_reader.h"

#include <cwchar>
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

namespace {

// The names a profile call lists, each ended by a null and the list by
// another; `list` fills the buffer and gives what GetPrivateProfile* give.
template <typename List>
std::vector<WideString> listedNames(List list) {
  for (DWORD capacity = 4096;; capacity *= 4) {
    std::vector<wchar_t> buffer(capacity, L'\0');
    const DWORD written = list(buffer.data(), capacity);
    // A list that does not fit is cut and reported as capacity - 2 long.
    if (written + 2 >= capacity && capacity < (DWORD(1) << 24)) continue;
    std::vector<WideString> names;
    for (const wchar_t* name = buffer.data(); *name != L'\0'; name += wcslen(name) + 1) {
      names.push_back(fromNative(name));
    }
    return names;
  }
}

}  // namespace

std::vector<ProfileKey> readProfileKeys(const WideString& file) {
  std::vector<ProfileKey> keys;
  const std::vector<WideString> sections = listedNames([&](wchar_t* buffer, DWORD capacity) {
    return GetPrivateProfileSectionNamesW(buffer, capacity, native(file));
  });
  for (const WideString& section : sections) {
    const std::vector<WideString> names = listedNames([&](wchar_t* buffer, DWORD capacity) {
      return GetPrivateProfileStringW(native(section), nullptr, L"", buffer, capacity,
                                      native(file));
    });
    for (const WideString& key : names) keys.push_back({section, key});
  }
  return keys;
}

}  // namespace ondrel::platform
