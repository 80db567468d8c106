#ifndef ONDREL_PLATFORM_HOST_SUPPORT_H_
#define ONDREL_PLATFORM_HOST_SUPPORT_H_

#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "text/wide_text.h"

// What a host program needs around the plug-in: loading the module, the COM
// apartment its calling thread must have, and environment variables for the
// programs the plug-in starts. The plug-in itself uses none of it.
namespace ondrel::platform {

class DynamicLibrary {
 public:
  static std::optional<DynamicLibrary> open(const WideString& path);

  DynamicLibrary(DynamicLibrary&& other) noexcept : native_(other.native_) {
    other.native_ = nullptr;
  }
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept {
    std::swap(native_, other.native_);
    return *this;
  }
  DynamicLibrary(const DynamicLibrary&) = delete;
  ~DynamicLibrary();

  void* symbol(const char* name) const;

  // Why the last open failed, in the platform's words.
  static std::string lastError();

 private:
  explicit DynamicLibrary(void* native) : native_(native) {}
  void* native_;
};

// Initialises COM for the calling thread (single-threaded apartment) for the
// object's lifetime, as a viewer does before calling the plug-in.
class ComApartment {
 public:
  ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  ~ComApartment();

 private:
  [[maybe_unused]] bool initialised_ = false;
};

// True where the screenshot decoder needs COM on the calling thread.
bool screenshotDecoderNeedsCom();

bool setEnvironmentVariable(std::string_view name, std::string_view value);
bool unsetEnvironmentVariable(std::string_view name);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_HOST_SUPPORT_H_
