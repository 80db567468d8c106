#ifndef ONDREL_PLATFORM_WINDOWS_NATIVE_TEXT_H_
#define ONDREL_PLATFORM_WINDOWS_NATIVE_TEXT_H_

#include <windows.h>

#include "text/wide_text.h"

namespace ondrel::platform {

// UTF-16 text as the Windows API spells it.
inline const wchar_t* native(const WideString& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}
inline const wchar_t* native(const char16_t* text) {
  return reinterpret_cast<const wchar_t*>(text);
}
inline WideString fromNative(const wchar_t* text) {
  return WideString(reinterpret_cast<const char16_t*>(text));
}

// A NUL-terminated copy of a view, for calls that take terminated text.
inline WideString terminated(WideView text) { return WideString(text); }

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_NATIVE_TEXT_H_
