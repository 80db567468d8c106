// The few socket calls a test's own web server on 127.0.0.1 needs, made the
// way each system makes them.
#ifndef ONDREL_TESTS_SUPPORT_LOOPBACK_SOCKET_H_
#define ONDREL_TESTS_SUPPORT_LOOPBACK_SOCKET_H_

#include <cstddef>
#include <cstdint>

#include "platform/unique_handle.h"

namespace ondrel::test {

struct SocketTraits {
  using Native = std::intptr_t;
  static Native invalid() { return -1; }
  static void close(Native socket);
};
using Socket = platform::UniqueHandle<SocketTraits>;

// A socket listening on 127.0.0.1 at a port of the system's choosing, which
// goes to `port`; none when there is no such port.
Socket listenOnLoopback(int& port);
// Whether `socket` has something to read (a connection to accept, bytes or
// the end) within `milliseconds`.
bool becomesReadable(const Socket& socket, int milliseconds);
Socket acceptConnection(const Socket& listener);
// The byte counts moved; 0 or less at the end or on failure.
long receiveSome(const Socket& connection, char* bytes, std::size_t size);
long sendSome(const Socket& connection, const char* bytes, std::size_t size);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_LOOPBACK_SOCKET_H_
