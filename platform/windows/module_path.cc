#include "platform/module_path.h"

#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

// The plug-in's one global: written at load, read by every settings lookup.
HINSTANCE moduleHandle = nullptr;

}  // namespace

void recordModuleHandle(void* handle) { moduleHandle = static_cast<HINSTANCE>(handle); }

std::optional<WideString> moduleFileName() {
  wchar_t buffer[kPathCapacity];
  const DWORD length = GetModuleFileNameW(moduleHandle, buffer, DWORD(kPathCapacity));
  // A name that fills the buffer was cut short.
  if (length == 0 || length >= kPathCapacity) return std::nullopt;
  return fromNative(buffer);
}

}  // namespace ondrel::platform
