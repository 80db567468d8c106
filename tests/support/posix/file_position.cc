#include "tests/support/file_position.h"

#include <unistd.h>

namespace ondrel::test {

std::optional<std::int64_t> filePosition(const platform::ReadableFile& file) {
  const off_t position = lseek(int(file.nativeHandle()), 0, SEEK_CUR);
  if (position < 0) return std::nullopt;
  return std::int64_t(position);
}

}  // namespace ondrel::test
