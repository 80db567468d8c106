#include "platform/module_path.h"

#include <dlfcn.h>
#include <limits.h>
#include <stdlib.h>

#include <cstring>
#include <memory>

namespace ondrel::platform {

// The dynamic loader can tell which module holds an address, so nothing needs
// to be recorded at load time.
void recordModuleHandle(void*) {}

std::optional<WideString> moduleFileName() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<void*>(&moduleFileName), &info) == 0 || info.dli_fname == nullptr) {
    return std::nullopt;
  }
  // A program started through PATH is known only by its bare name; the
  // kernel knows where it really is.
  const bool bareName = std::strchr(info.dli_fname, '/') == nullptr;
  const char* path = bareName ? "/proc/self/exe" : info.dli_fname;
  std::unique_ptr<char, decltype(&free)> absolute(realpath(path, nullptr), &free);
  if (!absolute) return std::nullopt;
  WideString name = utf8ToWide(absolute.get());
  if (!fitsPathBuffer(name)) return std::nullopt;
  return name;
}

}  // namespace ondrel::platform
