#include <malloc.h>

#include "tests/support/posix/allocator_bytes_in_use.h"

namespace ondrel::test {

// Large blocks, such as a picture's pixels, are mapped one by one and counted
// apart from the arenas' chunks.
std::int64_t allocatorBytesInUse() {
  const struct mallinfo2 info = mallinfo2();
  return std::int64_t(info.uordblks) + std::int64_t(info.hblkhd);
}

}  // namespace ondrel::test
