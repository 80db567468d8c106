#include "capture/devtools/protocol_connection.h"

#include <algorithm>

namespace ondrel::devtools {
namespace {

// A page sends a stream of events nobody asks for; only the latest are kept.
constexpr std::size_t kKeptEvents = 1024;

using nlohmann::json;

std::string_view stringField(const json& message, const char* name) {
  const auto field = message.find(name);
  if (field == message.end() || !field->is_string()) return {};
  return field->get_ref<const std::string&>();
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
  const std::optional<std::int64_t> id = send(method, std::move(params), sessionId, deadline);
  if (!id) return std::nullopt;
  for (;;) {
    std::optional<json> message = nextMessage(deadline);
    if (!message) return std::nullopt;
    const std::optional<std::int64_t> answered = idOf(*message);
    if (!answered) {
      keepEvent(std::move(*message));
      continue;
    }
    if (*answered != *id) continue;  // the answer to a posted command
    const auto result = message->find("result");
    if (message->contains("error") || result == message->end() || !result->is_object()) {
      return std::nullopt;
    }
    return std::move(*result);
  }
}

bool ProtocolConnection::post(std::string_view method, std::string_view sessionId,
                              const platform::Deadline& deadline) {
  return send(method, json::object(), sessionId, deadline).has_value();
}

bool ProtocolConnection::waitForEvent(std::string_view method, std::string_view sessionId,
                                      const platform::Deadline& deadline) {
  while (!takeKeptEvent(method, sessionId)) {
    std::optional<json> message = nextMessage(deadline);
    if (!message) return false;
    if (!idOf(*message)) keepEvent(std::move(*message));
  }
  return true;
}

void ProtocolConnection::forgetEvents(std::string_view method) {
  std::erase_if(events_, [&](const json& event) { return stringField(event, "method") == method; });
}

std::optional<std::int64_t> ProtocolConnection::send(std::string_view method, json params,
                                                     std::string_view sessionId,
                                                     const platform::Deadline& deadline) {
  if (broken_) return std::nullopt;
  const std::int64_t id = ++lastId_;
  json command = {{"id", id}, {"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) command["sessionId"] = sessionId;
  std::string frame = command.dump();
  frame.push_back('\0');
  if (channel_.send(frame, deadline) != platform::PipeStatus::kDone) {
    broken_ = true;
    return std::nullopt;
  }
  return id;
}

std::optional<json> ProtocolConnection::nextMessage(const platform::Deadline& deadline) {
  while (!broken_) {
    if (std::optional<std::string> text = framer_.next()) {
      json message = json::parse(*text, nullptr, false);
      if (message.is_object()) return message;
      break;
    }
    if (framer_.overflowed()) break;
    if (channel_.receive(framer_.pending(), deadline) != platform::PipeStatus::kDone) break;
  }
  broken_ = true;
  return std::nullopt;
}

bool ProtocolConnection::takeKeptEvent(std::string_view method, std::string_view sessionId) {
  const auto event = std::find_if(events_.begin(), events_.end(), [&](const json& kept) {
    return stringField(kept, "method") == method && stringField(kept, "sessionId") == sessionId;
  });
  if (event == events_.end()) return false;
  events_.erase(event);
  return true;
}

void ProtocolConnection::keepEvent(json event) {
  if (events_.size() == kKeptEvents) events_.pop_front();
  events_.push_back(std::move(event));
}

}  // namespace ondrel::devtools
