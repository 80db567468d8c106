#include "platform/host_support.h"

#include <dlfcn.h>
#include <stdlib.h>

namespace ondrel::platform {

std::optional<DynamicLibrary> DynamicLibrary::open(const WideString& path) {
  void* native = dlopen(wideToUtf8(path).c_str(), RTLD_NOW | RTLD_LOCAL);
  if (native == nullptr) return std::nullopt;
  return DynamicLibrary(native);
}

void DynamicLibrary::NativeTraits::close(void* native) { dlclose(native); }

void* DynamicLibrary::symbol(const char* name) const { return dlsym(native_.get(), name); }

std::string DynamicLibrary::lastError() {
  const char* error = dlerror();
  return error != nullptr ? error : "unknown error";
}

// There is no COM here; the screenshot decoder needs none.
ComApartment::ComApartment() = default;
ComApartment::~ComApartment() = default;

bool screenshotDecoderNeedsCom() { return false; }

bool setEnvironmentVariable(std::string_view name, std::string_view value) {
  return setenv(std::string(name).c_str(), std::string(value).c_str(), 1) == 0;
}

}  // namespace ondrel::platform
