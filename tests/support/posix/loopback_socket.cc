#include "tests/support/loopback_socket.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace ondrel::test {

void SocketTraits::close(Native socket) { ::close(int(socket)); }

Socket listenOnLoopback(int& port) {
  Socket listener(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (!listener.valid() ||
      ::bind(int(listener.get()), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(int(listener.get()), 16) != 0 ||
      ::getsockname(int(listener.get()), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return Socket();
  }
  port = ntohs(address.sin_port);
  return listener;
}

bool becomesReadable(const Socket& socket, int milliseconds) {
  pollfd waiting{int(socket.get()), POLLIN, 0};
  return ::poll(&waiting, 1, milliseconds) > 0;
}

Socket acceptConnection(const Socket& listener) {
  return Socket(::accept4(int(listener.get()), nullptr, nullptr, SOCK_CLOEXEC));
}

long receiveSome(const Socket& connection, char* bytes, std::size_t size) {
  return long(::recv(int(connection.get()), bytes, size, 0));
}

long sendSome(const Socket& connection, const char* bytes, std::size_t size) {
  return long(::send(int(connection.get()), bytes, size, MSG_NOSIGNAL));
}

}  // namespace ondrel::test
