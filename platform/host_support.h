#ifndef ONDREL_PLATFORM_HOST_SUPPORT_H_
#define ONDREL_PLATFORM_HOST_SUPPORT_H_

#include <optional>
#include <string>
#include <string_view>

#include "platform/unique_handle.h"
#include "text/wide_text.h"

// What a host program needs around the plug-in: loading the module, the COM
// apartment its calling thread must have, and environment variables for the
// programs the plug-in starts. The plug-in itself uses none of it.
namespace ondrel::platform {

class DynamicLibrary {
 public:
  static std::optional<DynamicLibrary> open(const WideString& path);

  void* symbol(const char* name) const;

  // Why the last open failed, in the platform's words.
  static std::string lastError();

 private:
  // A loaded module's handle; each platform unloads it its own way.
  struct NativeTraits {
    using Native = void*;
    static Native invalid() { return nullptr; }
    static void close(Native native);
  };

  explicit DynamicLibrary(void* native) : native_(native) {}

  UniqueHandle<NativeTraits> native_;
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

// True where the screenshot decoder needs COM on the calling thread. Only the
// layer that chose the decoder knows this; a host that calls from threads of
// its own (the tests do) learns from it what to expect there.
bool screenshotDecoderNeedsCom();

bool setEnvironmentVariable(std::string_view name, std::string_view value);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_HOST_SUPPORT_H_
