#include <cstddef>

#include "tests/support/posix/allocator_bytes_in_use.h"

// Part of every sanitizer runtime's allocator interface; GCC installs no
// header that declares it.
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();

namespace ondrel::test {

// A sanitizer replaces malloc, so glibc's own figures stay empty.
std::int64_t allocatorBytesInUse() {
  return std::int64_t(__sanitizer_get_current_allocated_bytes());
}

}  // namespace ondrel::test
