// A web server on 127.0.0.1 at a port of the system's choosing, serving every
// path with one small picture and noting each connection and each request's
// path: what a page kept off the network must never reach.
#ifndef ONDREL_TESTS_BROWSER_LOCAL_HTTP_SERVER_H_
#define ONDREL_TESTS_BROWSER_LOCAL_HTTP_SERVER_H_

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/loopback_socket.h"

namespace ondrel::test {

class LocalHttpServer {
 public:
  LocalHttpServer();
  LocalHttpServer(const LocalHttpServer&) = delete;
  LocalHttpServer& operator=(const LocalHttpServer&) = delete;
  ~LocalHttpServer();

  // "http://127.0.0.1:<port>"
  std::string origin() const;
  // The paths asked for so far, in order; empty for a connection that asked
  // for nothing within two seconds.
  std::vector<std::string> requests() const;
  // The connections accepted so far, counted as they come: a browser may
  // connect ahead of any request (a preconnect), and never ask.
  int connections() const;

 private:
  void serve();
  void answer(const Socket& connection);

  int port_ = 0;
  Socket listener_;
  std::atomic<bool> stopping_{false};
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
  int connections_ = 0;
  std::thread thread_;
};

// The red 8 x 8 PNG the server answers with.
extern const unsigned char kRedPng[];
extern const unsigned kRedPngSize;

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_BROWSER_LOCAL_HTTP_SERVER_H_
