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

// Closes a kernel handle when it goes.
class KernelHandle {
 public:
  explicit KernelHandle(HANDLE handle = nullptr) : handle_(handle) {}
  KernelHandle(KernelHandle&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  KernelHandle& operator=(KernelHandle&& other) noexcept {
    if (this != &other) {
      reset();
      handle_ = other.handle_;
      other.handle_ = nullptr;
    }
    return *this;
  }
  KernelHandle(const KernelHandle&) = delete;
  KernelHandle& operator=(const KernelHandle&) = delete;
  ~KernelHandle() { reset(); }

  HANDLE get() const { return handle_; }
  bool valid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
  void reset() {
    if (valid()) CloseHandle(handle_);
    handle_ = nullptr;
  }

 private:
  HANDLE handle_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_NATIVE_TEXT_H_
