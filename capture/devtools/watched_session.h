#ifndef ONDREL_CAPTURE_DEVTOOLS_WATCHED_SESSION_H_
#define ONDREL_CAPTURE_DEVTOOLS_WATCHED_SESSION_H_

#include <string>

#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {

// The session of a page whose end the connection watches while this object lives
// (ProtocolConnection::watchPage): once the page has gone, commands in the session fail unsent
// and waits for it end at once. It borrows the connection, which must outlive it.
class WatchedSession {
 public:
  WatchedSession(ProtocolConnection& connection, std::string sessionId,
                 const std::string& targetId);
  WatchedSession(WatchedSession&& other) noexcept;
  WatchedSession& operator=(WatchedSession&& other) noexcept;
  WatchedSession(const WatchedSession&) = delete;
  ~WatchedSession();

  const std::string& id() const { return id_; }

 private:
  void forget();

  ProtocolConnection* connection_;  // none once moved from
  std::string id_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_WATCHED_SESSION_H_
