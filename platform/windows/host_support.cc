#include "platform/host_support.h"

#include <objbase.h>

#include "platform/windows/native_text.h"

namespace ondrel::platform {

std::optional<DynamicLibrary> DynamicLibrary::open(const WideString& path) {
  HMODULE module = LoadLibraryW(native(path));
  if (module == nullptr) return std::nullopt;
  return DynamicLibrary(module);
}

void DynamicLibrary::NativeTraits::close(void* native) {
  FreeLibrary(static_cast<HMODULE>(native));
}

void* DynamicLibrary::symbol(const char* name) const {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(native_.get()), name));
}

std::string DynamicLibrary::lastError() { return "error " + std::to_string(GetLastError()); }

ComApartment::ComApartment() {
  initialised_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
}

ComApartment::~ComApartment() {
  if (initialised_) CoUninitialize();
}

bool screenshotDecoderNeedsCom() { return true; }

bool setEnvironmentVariable(std::string_view name, std::string_view value) {
  return SetEnvironmentVariableW(native(utf8ToWide(name)), native(utf8ToWide(value)));
}

}  // namespace ondrel::platform
