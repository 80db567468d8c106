#include "platform/process_identity.h"

#include <sys/syscall.h>
#include <unistd.h>

namespace ondrel::platform {

std::uint64_t currentProcessId() { return std::uint64_t(getpid()); }

std::uint64_t currentThreadId() { return std::uint64_t(syscall(SYS_gettid)); }

bool runsFullyElevated() { return false; }

}  // namespace ondrel::platform
