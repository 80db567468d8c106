#include <signal.h>
#include <unistd.h>

#include <cerrno>

#include "tests/fake_browser/pipe_io.h"

namespace ondrel::test {

long readFromPipe(char* buffer, std::size_t capacity) {
  for (;;) {
    const ssize_t got = ::read(3, buffer, capacity);
    if (got >= 0 || errno != EINTR) return long(got);
  }
}

bool writeToPipe(std::string_view bytes) {
  // A plug-in that has gone must not end the fake browser with a signal.
  signal(SIGPIPE, SIG_IGN);
  while (!bytes.empty()) {
    const ssize_t written = ::write(4, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(std::size_t(written));
  }
  return true;
}

void closePipe() {
  ::close(3);
  ::close(4);
}

long currentProcessId() { return long(getpid()); }

}  // namespace ondrel::test
