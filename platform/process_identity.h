#ifndef ONDREL_PLATFORM_PROCESS_IDENTITY_H_
#define ONDREL_PLATFORM_PROCESS_IDENTITY_H_

#include <cstdint>

namespace ondrel::platform {

// Together these name the one capture a thread can run at a time, which keeps
// the temporary names of concurrent captures apart.
std::uint64_t currentProcessId();
std::uint64_t currentThreadId();

// True when the process runs with a fully elevated token (an administrator's
// process started with "Run as administrator"); never where there is no such
// thing.
bool runsFullyElevated();

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PROCESS_IDENTITY_H_
