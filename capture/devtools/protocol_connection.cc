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
  return send(method, std::move(params), sessionId, deadline).has_value();
}

std::optional<std::int64_t> ProtocolConnection::request(std::string_view method, json params,
                                                        std::string_view sessionId,
                                                        const platform::Deadline& deadline) {
  const std::optional<std::int64_t> id = send(method, std::move(params), sessionId, deadline);
  if (id)
    requested_.emplace(*id, Requested{std::string(method), std::string(sessionId), std::nullopt});
  return id;
}

std::optional<json> ProtocolConnection::answer(std::int64_t id, const platform::Deadline& deadline,
                                               LateAnswer late) {
  const auto requested = requested_.find(id);
  if (requested == requested_.end()) return std::nullopt;
  Requested& pending = requested->second;
  const bool answered = waitUntil(
      [&] { return pending.answer.has_value() || pageGone(pending.sessionId); }, deadline);
  const bool came = answered && pending.answer.has_value();
  const std::optional<json> result = came ? resultOf(*pending.answer) : std::nullopt;
  if (!came) {
    noteUnanswered(pending.method, pending.sessionId);
  } else if (!result) {
    noteFailure(
        {ConnectionFailure::Kind::kErrorAnswer, pending.method, errorMessageOf(*pending.answer)});
  }
  requested_.erase(requested);
  if (!came && late && !broken_) lateAnswers_.emplace(id, std::move(late));
  return result;
}

bool ProtocolConnection::waitForEvent(std::string_view method, std::string_view sessionId,
                                      const platform::Deadline& deadline) {
  bool taken = false;
  waitUntil([&] { return (taken = takeKeptEvent(method, sessionId)) || pageGone(sessionId); },
            deadline);
  if (!taken) noteUnanswered(method, sessionId);
  return taken;
}

bool ProtocolConnection::waitUntil(const std::function<bool()>& done,
                                   const platform::Deadline& deadline) {
  while (!done()) {
    std::optional<json> message = nextMessage(deadline);
    if (!message) return false;
    if (const std::optional<std::int64_t> id = idOf(*message)) {
      receiveAnswer(*id, std::move(*message), deadline);
    } else {
      receiveEvent(std::move(*message), deadline);
    }
  }
  return true;
}

void ProtocolConnection::forgetEvents(std::string_view method) {
  std::erase_if(events_, [&](const json& event) { return stringField(event, "method") == method; });
}

void ProtocolConnection::watchPage(const std::string& sessionId, const std::string& targetId) {
  watchedPages_[sessionId] = WatchedPage{targetId, false};
}

void ProtocolConnection::forgetPage(std::string_view sessionId) noexcept {
  const auto watched = watchedPages_.find(sessionId);
  if (watched != watchedPages_.end()) watchedPages_.erase(watched);
}

bool ProtocolConnection::pageGone(std::string_view sessionId) const {
  const auto watched = watchedPages_.find(sessionId);
  return watched != watchedPages_.end() && watched->second.gone;
}

std::optional<std::int64_t> ProtocolConnection::send(std::string_view method, json params,
                                                     std::string_view sessionId,
                                                     const platform::Deadline& deadline) {
  if (broken_ || deadline.hasPassed() || pageGone(sessionId)) {
    noteUnanswered(method, sessionId);
    return std::nullopt;
  }
  const std::int64_t id = ++lastId_;
  json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) command["sessionId"] = sessionId;
  std::string frame = command.dump();
  frame.push_back('\0');
  // A frame cut short would run into the next: whatever stopped the sending
  // breaks the connection.
  if (const platform::PipeStatus status = channel_.send(frame, deadline);
      status != platform::PipeStatus::kDone) {
    breakWith(causeOf(status));
    noteUnanswered(method, sessionId);
    return std::nullopt;
  }
  return id;
}

std::optional<json> ProtocolConnection::nextMessage(const platform::Deadline& deadline) {
  while (!broken_) {
    if (std::optional<std::string> text = framer_.next()) {
      json message = json::parse(*text, nullptr, false);
      if (message.is_object()) return message;
      breakWith(ConnectionFailure::Kind::kGarbled);
      break;
    }
    if (framer_.overflowed()) {
      breakWith(ConnectionFailure::Kind::kGarbled);
      break;
    }
    // A browser that keeps talking must not keep a wait beyond its deadline.
    if (deadline.hasPassed()) return std::nullopt;
    const platform::PipeStatus status = channel_.receive(framer_.pending(), deadline);
    if (status == platform::PipeStatus::kTimedOut) return std::nullopt;
    if (status != platform::PipeStatus::kDone) {
      breakWith(ConnectionFailure::Kind::kClosed);
      break;
    }
  }
  return std::nullopt;
}

// Answers to posted commands, and to requests given up on without a use for
// their results, are passed over.
void ProtocolConnection::receiveAnswer(std::int64_t id, json answer,
                                       const platform::Deadline& deadline) {
  if (const auto waiting = requested_.find(id); waiting != requested_.end()) {
    waiting->second.answer = std::move(answer);
    return;
  }
  const auto late = lateAnswers_.find(id);
  if (late == lateAnswers_.end()) return;
  const LateAnswer handler = std::move(late->second);
  lateAnswers_.erase(late);
  if (const std::optional<json> result = resultOf(answer)) handler(*result, deadline);
}

void ProtocolConnection::breakWith(ConnectionFailure::Kind cause) {
  if (broken_) return;
  broken_ = true;
  breakCause_ = cause;
}

// A wait that ends without what it waited for ends for one of three reasons:
// the connection broke, the page went, or the deadline passed.
void ProtocolConnection::noteUnanswered(std::string_view method, std::string_view sessionId) {
  ConnectionFailure::Kind kind = ConnectionFailure::Kind::kTimedOut;
  if (broken_) {
    kind = breakCause_;
  } else if (pageGone(sessionId)) {
    kind = ConnectionFailure::Kind::kPageGone;
  }
  noteFailure({kind, std::string(method), {}});
}

void ProtocolConnection::noteFailure(ConnectionFailure failure) {
  if (!failure_) failure_ = std::move(failure);
}

bool ProtocolConnection::takeKeptEvent(std::string_view method, std::string_view sessionId) {
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
  if (handler) {
    handlers_[std::move(method)] = std::move(handler);
  } else {
    handlers_.erase(method);
  }
}

void ProtocolConnection::receiveEvent(json event, const platform::Deadline& deadline) {
  notePageEnd(event);
  const auto handler = handlers_.find(stringField(event, "method"));
  if (handler != handlers_.end()) {
    handler->second(event, deadline);
    return;
  }
  if (events_.size() == kKeptEvents) events_.pop_front();
  events_.push_back(std::move(event));
}

void ProtocolConnection::notePageEnd(const json& event) {
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
