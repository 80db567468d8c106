#include <io.h>
#include <windows.h>

#include <climits>

#include "tests/fake_browser/pipe_io.h"

namespace ondrel::test {

long readFromPipe(char* buffer, std::size_t capacity) {
  return _read(3, buffer, unsigned(capacity < INT_MAX ? capacity : INT_MAX));
}

bool writeToPipe(std::string_view bytes) {
  while (!bytes.empty()) {
    const int written =
        _write(4, bytes.data(), unsigned(bytes.size() < INT_MAX ? bytes.size() : INT_MAX));
    if (written <= 0) return false;
    bytes.remove_prefix(std::size_t(written));
  }
  return true;
}

void closePipe() {
  _close(3);
  _close(4);
}

long currentProcessId() { return long(GetCurrentProcessId()); }

}  // namespace ondrel::test
