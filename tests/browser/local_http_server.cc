#include "tests/browser/local_http_server.h"

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

void sendAll(const Socket& connection, std::string_view bytes) {
  while (!bytes.empty()) {
    const long sent = sendSome(connection, bytes.data(), bytes.size());
    if (sent <= 0) return;
    bytes.remove_prefix(std::size_t(sent));
  }
}

}  // namespace

LocalHttpServer::LocalHttpServer() : listener_(listenOnLoopback(port_)) {
  if (!listener_.valid()) throw std::runtime_error("no local port to listen on");
  thread_ = std::thread([this] { serve(); });
}

LocalHttpServer::~LocalHttpServer() {
  stopping_ = true;
  thread_.join();
}

std::string LocalHttpServer::origin() const { return "http://127.0.0.1:" + std::to_string(port_); }

std::vector<std::string> LocalHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

int LocalHttpServer::connections() const {
  std::lock_guard lock(mutex_);
  return connections_;
}

void LocalHttpServer::serve() {
  while (!stopping_) {
    if (!becomesReadable(listener_, 50)) continue;
    const Socket connection = acceptConnection(listener_);
    if (!connection.valid()) continue;
    {
      std::lock_guard lock(mutex_);
      ++connections_;
    }
    answer(connection);
  }
}

void LocalHttpServer::answer(const Socket& connection) {
  std::string request;
  char chunk[2048];
  while (request.find("\r\n\r\n") == std::string::npos) {
    if (!becomesReadable(connection, 2000)) break;
    const long got = receiveSome(connection, chunk, sizeof chunk);
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
