#include "capture/devtools/protocol_connection.h"

#include <algorithm>

#include "capture/devtools/json_fields.h"
#include "capture/devtools/page_end.h"

namespace ondrel::devtools {
namespace {

// A page sends a stream of events nobody asks for; only the latest are kept.
constexpr std::size_t kKeptEvents = 1024;

using nlohmann::json;

ConnectionFailure::Kind causeOf(platform::PipeStatus status) {
  return status == platform::PipeStatus::kTimedOut ? ConnectionFailure::Kind::kTimedOut
                                                   : ConnectionFailure::Kind::kClosed;
}

// The browser's own words for an error answer.
std::string errorMessageOf(const json& answer) {
  const auto error = answer.find("error");
  if (error == answer.end()) return "no result";
  const std::string_view message = stringField(*error, "message");
  return message.empty() ? error->dump() : std::string(message);
}

std::optional<std::int64_t> idOf(const json& message) {
  const auto id = message.find("id");
  if (id == message.end() || !id->is_number_integer()) return std::nullopt;
  return id->get<std::int64_t>();
}

}  // namespace

std::optional<json> ProtocolConnection::call(std::string_view method, json params,
                                             std::string_view sessionId,
                                             const platform::Deadline& deadline) {
  const std::optional<std::int64_t> id = request(method, std::move(params), sessionId, deadline);
  if (!id) return std::nullopt;
  return answer(*id, deadline);
}

bool ProtocolConnection::post(std::string_view method, json params, std::string_view sessionId,
                              const platform::Deadline& deadline) {
  return send(method, std::move(params), sessionId, deadline, false).has_value();
}

std::optional<std::int64_t> ProtocolConnection::request(std::string_view method, json params,
                                                        std::string_view sessionId,
                                                        const platform::Deadline& deadline) {
  return send(method, std::move(params), sessionId, deadline, true);
}

std::optional<json> ProtocolConnection::answer(std::int64_t id, const platform::Deadline& deadline,
                                               LateAnswer late) {
  Lock lock(mutex_);
  const auto requested = requested_.find(id);
  if (requested == requested_.end()) return std::nullopt;
  // Entries of a map stay where they are while others come and go.
  Requested& pending = requested->second;
  const bool answered = waitLocked(
      lock, [&] { return pending.answer.has_value() || pageGoneLocked(pending.sessionId); },
      deadline);
  const bool came = answered && pending.answer.has_value();
  const std::optional<json> result = came ? resultOf(*pending.answer) : std::nullopt;
  if (!came) {
    noteUnansweredLocked(pending.method, pending.sessionId);
  } else if (!result) {
    noteFailureLocked(
        {ConnectionFailure::Kind::kErrorAnswer, pending.method, errorMessageOf(*pending.answer)});
  }
  requested_.erase(requested);
  if (!came && late && !broken_) lateAnswers_.emplace(id, std::move(late));
  return result;
}

bool ProtocolConnection::waitForEvent(std::string_view method, std::string_view sessionId,
                                      const platform::Deadline& deadline) {
  Lock lock(mutex_);
  bool taken = false;
  waitLocked(
      lock,
      [&] { return (taken = takeKeptEventLocked(method, sessionId)) || pageGoneLocked(sessionId); },
      deadline);
  if (!taken) noteUnansweredLocked(method, sessionId);
  return taken;
}

bool ProtocolConnection::waitUntil(const std::function<bool()>& done,
                                   const platform::Deadline& deadline) {
  Lock lock(mutex_);
  return waitLocked(lock, done, deadline);
}

bool ProtocolConnection::waitLocked(Lock& lock, const std::function<bool()>& done,
                                    const platform::Deadline& deadline) {
  while (!done()) {
    if (broken_) return false;
    const bool goOn = reading_ ? waitForReader(lock, deadline) : readAndHandOver(lock, deadline);
    if (!goOn) return done();
  }
  return true;
}

bool ProtocolConnection::waitForReader(Lock& lock, const platform::Deadline& deadline) {
  const std::optional<platform::Deadline::Clock::time_point> at = deadline.at();
  if (!at) {
    handedOver_.wait(lock);
    return true;
  }
  return handedOver_.wait_until(lock, *at) == std::cv_status::no_timeout || !deadline.hasPassed();
}

bool ProtocolConnection::readAndHandOver(Lock& lock, const platform::Deadline& deadline) {
  reading_ = true;
  lock.unlock();
  Read read = nextMessage(deadline);
  lock.lock();
  if (read.breaks) breakWithLocked(*read.breaks);
  if (read.message) {
    if (const std::optional<std::int64_t> id = idOf(*read.message)) {
      receiveAnswer(lock, *id, std::move(*read.message), deadline);
    } else {
      receiveEvent(lock, std::move(*read.message), deadline);
    }
  }
  // Only now may another thread read: events are handed over in their order.
  reading_ = false;
  handedOver_.notify_all();
  return read.message.has_value();
}

void ProtocolConnection::forgetEvents(std::string_view method, std::string_view sessionId) {
  const Lock lock(mutex_);
  std::erase_if(events_, [&](const json& event) {
    return stringField(event, "method") == method && stringField(event, "sessionId") == sessionId;
  });
}

void ProtocolConnection::watchPage(const std::string& sessionId, const std::string& targetId) {
  const Lock lock(mutex_);
  watchedPages_[sessionId] = WatchedPage{targetId, false};
}

void ProtocolConnection::forgetPage(std::string_view sessionId) noexcept {
  const Lock lock(mutex_);
  const auto watched = watchedPages_.find(sessionId);
  if (watched != watchedPages_.end()) watchedPages_.erase(watched);
}

bool ProtocolConnection::pageGone(std::string_view sessionId) const {
  const Lock lock(mutex_);
  return pageGoneLocked(sessionId);
}

bool ProtocolConnection::pageGoneLocked(std::string_view sessionId) const {
  const auto watched = watchedPages_.find(sessionId);
  return watched != watchedPages_.end() && watched->second.gone;
}

std::optional<std::int64_t> ProtocolConnection::send(std::string_view method, json params,
                                                     std::string_view sessionId,
                                                     const platform::Deadline& deadline,
                                                     bool keepAnswer) {
  std::int64_t id = 0;
  {
    const Lock lock(mutex_);
    if (broken_ || deadline.hasPassed() || pageGoneLocked(sessionId)) {
      noteUnansweredLocked(method, sessionId);
      return std::nullopt;
    }
    id = ++lastId_;
    // Known before it is sent: its answer may be read by another thread at once.
    if (keepAnswer) {
      requested_.emplace(id, Requested{std::string(method), std::string(sessionId), std::nullopt});
    }
  }
  json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) command["sessionId"] = sessionId;
  std::string frame = command.dump();
  frame.push_back('\0');
  platform::PipeStatus status = platform::PipeStatus::kFailed;
  {
    const std::lock_guard sending(sendMutex_);
    status = channel_.send(frame, deadline);
  }
  if (status == platform::PipeStatus::kDone) return id;
  // A frame cut short would run into the next: whatever stopped the sending
  // breaks the connection.
  const Lock lock(mutex_);
  breakWithLocked(causeOf(status));
  requested_.erase(id);
  noteUnansweredLocked(method, sessionId);
  handedOver_.notify_all();
  return std::nullopt;
}

ProtocolConnection::Read ProtocolConnection::nextMessage(const platform::Deadline& deadline) {
  while (!broken_) {
    if (std::optional<std::string> text = framer_.next()) {
      json message = json::parse(*text, nullptr, false);
      if (message.is_object()) return {std::move(message), std::nullopt};
      return {std::nullopt, ConnectionFailure::Kind::kGarbled};
    }
    if (framer_.overflowed()) return {std::nullopt, ConnectionFailure::Kind::kGarbled};
    // A browser that keeps talking must not keep a wait beyond its deadline.
    if (deadline.hasPassed()) return {};
    const platform::PipeStatus status = channel_.receive(framer_.pending(), deadline);
    if (status == platform::PipeStatus::kTimedOut) return {};
    if (status != platform::PipeStatus::kDone)
      return {std::nullopt, ConnectionFailure::Kind::kClosed};
  }
  return {};
}

// Answers to posted commands, and to requests given up on without a use for
// their results, are passed over.
void ProtocolConnection::receiveAnswer(Lock& lock, std::int64_t id, json answer,
                                       const platform::Deadline& deadline) {
  if (const auto waiting = requested_.find(id); waiting != requested_.end()) {
    waiting->second.answer = std::move(answer);
    return;
  }
  const auto late = lateAnswers_.find(id);
  if (late == lateAnswers_.end()) return;
  const LateAnswer handler = std::move(late->second);
  lateAnswers_.erase(late);
  const std::optional<json> result = resultOf(answer);
  if (!result) return;
  // It may send commands, which take the lock.
  lock.unlock();
  handler(*result, deadline);
  lock.lock();
}

void ProtocolConnection::breakWithLocked(ConnectionFailure::Kind cause) {
  if (broken_) return;
  breakCause_ = cause;
  broken_ = true;
}

// A wait that ends without what it waited for ends for one of three reasons:
// the connection broke, the page went, or the deadline passed.
void ProtocolConnection::noteUnansweredLocked(std::string_view method, std::string_view sessionId) {
  ConnectionFailure::Kind kind = ConnectionFailure::Kind::kTimedOut;
  if (broken_) {
    kind = breakCause_;
  } else if (pageGoneLocked(sessionId)) {
    kind = ConnectionFailure::Kind::kPageGone;
  }
  noteFailureLocked({kind, std::string(method), {}});
}

std::optional<ConnectionFailure> ProtocolConnection::failure() const {
  const Lock lock(mutex_);
  const auto failure = failures_.find(std::this_thread::get_id());
  if (failure == failures_.end()) return std::nullopt;
  return failure->second;
}

void ProtocolConnection::forgetFailure() {
  const Lock lock(mutex_);
  failures_.erase(std::this_thread::get_id());
}

void ProtocolConnection::noteFailure(ConnectionFailure failure) {
  const Lock lock(mutex_);
  noteFailureLocked(std::move(failure));
}

void ProtocolConnection::noteFailureLocked(ConnectionFailure failure) {
  failures_.try_emplace(std::this_thread::get_id(), std::move(failure));
}

bool ProtocolConnection::takeKeptEventLocked(std::string_view method, std::string_view sessionId) {
  const auto event = std::find_if(events_.begin(), events_.end(), [&](const json& kept) {
    return stringField(kept, "method") == method && stringField(kept, "sessionId") == sessionId;
  });
  if (event == events_.end()) return false;
  events_.erase(event);
  return true;
}

std::optional<json> ProtocolConnection::resultOf(const json& answer) {
  const auto result = answer.find("result");
  if (answer.contains("error") || result == answer.end() || !result->is_object()) {
    return std::nullopt;
  }
  return *result;
}

void ProtocolConnection::onEvent(std::string method, EventHandler handler) {
  const Lock lock(mutex_);
  if (handler) {
    handlers_[std::move(method)] = std::move(handler);
  } else {
    handlers_.erase(method);
  }
}

// A handler runs on a copy, outside the lock, as it may send commands; the
// objects it serves outlive every wait on the connection.
void ProtocolConnection::receiveEvent(Lock& lock, json event, const platform::Deadline& deadline) {
  notePageEndLocked(event);
  const auto handler = handlers_.find(stringField(event, "method"));
  if (handler != handlers_.end()) {
    const EventHandler handling = handler->second;
    lock.unlock();
    handling(event, deadline);
    lock.lock();
    return;
  }
  if (events_.size() == kKeptEvents) events_.pop_front();
  events_.push_back(std::move(event));
}

void ProtocolConnection::notePageEndLocked(const json& event) {
  const std::optional<PageEnd> end = pageEndIn(event);
  if (!end) return;
  for (auto& [sessionId, page] : watchedPages_) {
    if ((!end->sessionId.empty() && sessionId == end->sessionId) ||
        (!end->targetId.empty() && page.targetId == end->targetId)) {
      page.gone = true;
    }
  }
}

}  // namespace ondrel::devtools
