#include "tests/browser/local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <string_view>

namespace ondrel::test {

const unsigned char kRedPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48, 0x44,
    0x52, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00, 0x00, 0x08, 0x08, 0x02, 0x00, 0x00, 0x00, 0x4b,
    0x6d, 0x29, 0xdc, 0x00, 0x00, 0x00, 0x12, 0x49, 0x44, 0x41, 0x54, 0x78, 0x9c, 0x63, 0xf8,
    0xcf, 0xc0, 0x80, 0x15, 0x61, 0x17, 0x1d, 0xb4, 0x12, 0x00, 0x28, 0xff, 0x3f, 0xc1, 0x6e,
    0xec, 0xdf, 0x61, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};
const unsigned kRedPngSize = sizeof kRedPng;

namespace {

// The path of a request's first line, "GET /path HTTP/1.1".
std::string pathOf(std::string_view request) {
  const std::size_t start = request.find(' ');
  if (start == std::string_view::npos) return {};
  const std::size_t end = request.find(' ', start + 1);
  return std::string(request.substr(start + 1, end - start - 1));
}

void sendAll(int connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = ::send(connection, bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent <= 0) return;
    bytes.remove_prefix(std::size_t(sent));
  }
}

}  // namespace

LocalHttpServer::LocalHttpServer() {
  listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
      ::listen(listener_, 16) != 0 ||
      ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    if (listener_ >= 0) ::close(listener_);
    throw std::runtime_error("no local port to listen on");
  }
  port_ = ntohs(address.sin_port);
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string LocalHttpServer::origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> LocalHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void LocalHttpServer::serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 50) <= 0) continue;
    const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0) continue;
    answer(connection);
    ::close(connection);
  }
}

void LocalHttpServer::answer(int connection) {
  std::string request;
  char chunk[2048];
  while (request.find("\r\n\r\n") == std::string::npos) {
    pollfd waiting{connection, POLLIN, 0};
    if (::poll(&waiting, 1, 2000) <= 0) break;
    const ssize_t got = ::recv(connection, chunk, sizeof chunk, 0);
    if (got <= 0) break;
    request.append(chunk, std::size_t(got));
  }
  {
    std::lock_guard lock(mutex_);
    requests_.push_back(pathOf(request));
  }
  sendAll(connection, "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nContent-Length: " +
                          std::to_string(kRedPngSize) +
                          "\r\nAccess-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n");
  sendAll(connection, std::string_view(reinterpret_cast<const char*>(kRedPng), kRedPngSize));
}

}  // namespace ondrel::test
