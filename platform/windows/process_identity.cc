#include "platform/process_identity.h"

#include <windows.h>

namespace ondrel::platform {

std::uint64_t currentProcessId() { return GetCurrentProcessId(); }

std::uint64_t currentThreadId() { return GetCurrentThreadId(); }

}  // namespace ondrel::platform
