#include "tests/support/loopback_socket.h"

#include <winsock2.h>

namespace ondrel::test {
namespace {

// Winsock wants starting once per process before any socket; it stays for the process.
bool winsockStarted() {
  static const bool started = [] {
    WSADATA data;
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  return started;
}

SOCKET native(const Socket& socket) { return SOCKET(socket.get()); }

Socket owned(SOCKET socket) {
  return socket == INVALID_SOCKET ? Socket() : Socket(std::intptr_t(socket));
}

}  // namespace

void SocketTraits::close(Native socket) { closesocket(SOCKET(socket)); }

Socket listenOnLoopback(int& port) {
  if (!winsockStarted()) return Socket();
  Socket listener = owned(::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  int length = sizeof address;
  if (!listener.valid() ||
      ::bind(native(listener), reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(native(listener), 16) != 0 ||
      ::getsockname(native(listener), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    return Socket();
  }
  port = ntohs(address.sin_port);
  return listener;
}

bool becomesReadable(const Socket& socket, int milliseconds) {
  WSAPOLLFD waiting{native(socket), POLLRDNORM, 0};
  return WSAPoll(&waiting, 1, milliseconds) > 0;
}

Socket acceptConnection(const Socket& listener) {
  return owned(::accept(native(listener), nullptr, nullptr));
}

long receiveSome(const Socket& connection, char* bytes, std::size_t size) {
  return ::recv(native(connection), bytes, int(size), 0);
}

long sendSome(const Socket& connection, const char* bytes, std::size_t size) {
  return ::send(native(connection), bytes, int(size), 0);
}

}  // namespace ondrel::test
