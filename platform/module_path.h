#ifndef ONDREL_PLATFORM_MODULE_PATH_H_
#define ONDREL_PLATFORM_MODULE_PATH_H_

#include <optional>

#include "text/wide_text.h"

namespace ondrel::platform {

// Records the module's instance handle when the library is loaded; the one
// piece of global state of the plug-in.
void recordModuleHandle(void* moduleHandle);

// Full name of the module file this code is linked into, or nothing when it
// does not fit a path buffer.
std::optional<WideString> moduleFileName();

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_MODULE_PATH_H_
