#include "capture/devtools/protocol_connection.h"

#include <algorithm>

#include "capture/devtools/json_fields.h"

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
  if (id) requested_.emplace(*id, Pending{std::string(method), std::nullopt});
  return id;
}

std::optional<json> ProtocolConnection::answer(std::int64_t id,
                                               const platform::Deadline& deadline) {
  const auto requested = requested_.find(id);
  if (requested == requested_.end()) return std::nullopt;
  Pending& pending = requested->second;
  const bool answered = waitUntil([&] { return pending.answer.has_value(); }, deadline);
  std::optional<json> result = answered ? resultOf(*pending.answer) : std::nullopt;
  if (!answered) {
    noteBreak(pending.method);
  } else if (!result) {
    noteFailure(
        {ConnectionFailure::Kind::kErrorAnswer, pending.method, errorMessageOf(*pending.answer)});
  }
  requested_.erase(requested);
  return result;
}

bool ProtocolConnection::waitForEvent(std::string_view method, std::string_view sessionId,
                                      const platform::Deadline& deadline) {
  if (waitUntil([&] { return takeKeptEvent(method, sessionId); }, deadline)) return true;
  noteBreak(method);
  return false;
}

bool ProtocolConnection::waitUntil(const std::function<bool()>& done,
                                   const platform::Deadline& deadline) {
  while (!done()) {
    std::optional<json> message = nextMessage(deadline);
    if (!message) return false;
    const std::optional<std::int64_t> answered = idOf(*message);
    if (!answered) {
      receiveEvent(std::move(*message), deadline);
      continue;
    }
    // Answers to posted commands are passed over.
    const auto waiting = requested_.find(*answered);
    if (waiting != requested_.end()) waiting->second.answer = std::move(*message);
  }
  return true;
}

void ProtocolConnection::forgetEvents(std::string_view method) {
  std::erase_if(events_, [&](const json& event) { return stringField(event, "method") == method; });
}

std::optional<std::int64_t> ProtocolConnection::send(std::string_view method, json params,
                                                     std::string_view sessionId,
                                                     const platform::Deadline& deadline) {
  if (broken_) {
    noteBreak(method);
    return std::nullopt;
  }
  const std::int64_t id = ++lastId_;
  json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) command["sessionId"] = sessionId;
  std::string frame = command.dump();
  frame.push_back('\0');
  if (const platform::PipeStatus status = channel_.send(frame, deadline);
      status != platform::PipeStatus::kDone) {
    breakWith(causeOf(status));
    noteBreak(method);
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
    if (const platform::PipeStatus status = channel_.receive(framer_.pending(), deadline);
        status != platform::PipeStatus::kDone) {
      breakWith(causeOf(status));
      break;
    }
  }
  return std::nullopt;
}

void ProtocolConnection::breakWith(ConnectionFailure::Kind cause) {
  if (broken_) return;
  broken_ = true;
  breakCause_ = cause;
}

void ProtocolConnection::noteBreak(std::string_view method) {
  if (broken_) noteFailure({breakCause_, std::string(method), {}});
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
  const auto handler = handlers_.find(stringField(event, "method"));
  if (handler != handlers_.end()) {
    handler->second(event, deadline);
    return;
  }
  if (events_.size() == kKeptEvents) events_.pop_front();
  events_.push_back(std::move(event));
}

}  // namespace ondrel::devtools
