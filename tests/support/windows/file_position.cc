#include "tests/support/file_position.h"

#include <windows.h>

namespace ondrel::test {

std::optional<std::int64_t> filePosition(const platform::ReadableFile& file) {
  LARGE_INTEGER distance{};
  LARGE_INTEGER position;
  if (!SetFilePointerEx(reinterpret_cast<HANDLE>(file.nativeHandle()), distance, &position,
                        FILE_CURRENT)) {
    return std::nullopt;
  }
  return std::int64_t(position.QuadPart);
}

}  // namespace ondrel::test
