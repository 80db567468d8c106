#pragma once

#include <cstdint>

namespace ondrel::platform {

// Together these name the one capture a thread can run at a time, which keeps
// the temporary names of concurrent captures apart.
std::uint64_t currentProcessId();
std::uint64_t currentThreadId();

}  // namespace ondrel::platform
