// The bytes the process's allocator has handed out and not taken back: a
// measure that, unlike the resident size, does not move with what the
// allocator keeps cached or with pages the kernel has not yet reclaimed.

#ifndef ONDREL_TESTS_SUPPORT_POSIX_ALLOCATOR_BYTES_IN_USE_H_
#define ONDREL_TESTS_SUPPORT_POSIX_ALLOCATOR_BYTES_IN_USE_H_

#include <cstdint>

namespace ondrel::test {

std::int64_t allocatorBytesInUse();

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_POSIX_ALLOCATOR_BYTES_IN_USE_H_
