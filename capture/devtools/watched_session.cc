#include "capture/devtools/watched_session.h"

#include <utility>

namespace ondrel::devtools {

WatchedSession::WatchedSession(ProtocolConnection& connection, std::string sessionId,
                               const std::string& targetId)
    : connection_(&connection), id_(std::move(sessionId)) {
  connection_->watchPage(id_, targetId);
}

WatchedSession::WatchedSession(WatchedSession&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)), id_(std::move(other.id_)) {}

WatchedSession& WatchedSession::operator=(WatchedSession&& other) noexcept {
  if (this != &other) {
    forget();
    connection_ = std::exchange(other.connection_, nullptr);
    id_ = std::move(other.id_);
  }
  return *this;
}

WatchedSession::~WatchedSession() { forget(); }

void WatchedSession::forget() {
  if (connection_ != nullptr) connection_->forgetPage(id_);
  connection_ = nullptr;
}

}  // namespace ondrel::devtools
