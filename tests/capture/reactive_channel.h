#ifndef ONDREL_TESTS_CAPTURE_REACTIVE_CHANNEL_H_
#define ONDREL_TESTS_CAPTURE_REACTIVE_CHANNEL_H_

#include <nlohmann/json.hpp>

#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {

// A browser in memory: messages queued for the connection are handed over
// one per read, and each command sent may queue more, computed from the
// command, so a test can play a browser whose answers depend on what it was
// asked. Once the queue is empty the channel reads as `whenEmpty`.
class ReactiveChannel final : public MessageChannel {
 public:
  using Reaction = std::function<void(ReactiveChannel&, const nlohmann::json& command)>;

  Reaction react = [](ReactiveChannel&, const nlohmann::json&) {};
  platform::PipeStatus whenEmpty = platform::PipeStatus::kClosed;
  std::vector<std::string> sent;  // the bytes of each send

  void queue(const nlohmann::json& message) { incoming_.push_back(message.dump() + '\0'); }
  // Bytes handed over as they are, in one read: part of a message, or several.
  void queueBytes(std::string bytes) { incoming_.push_back(std::move(bytes)); }

  // The answer to `command` carrying `result`.
  void answer(const nlohmann::json& command, nlohmann::json result) {
    queue({{"id", command["id"]}, {"result", std::move(result)}});
  }

  // The messages queued and not yet read.
  std::size_t unread() const { return incoming_.size(); }

  // Every command sent, as JSON; a copy, so that a field missing reads as null.
  std::vector<nlohmann::json> commands() const { return commands_; }

  // The methods of the commands sent, in their order.
  std::vector<std::string> methods() const {
    std::vector<std::string> names;
    for (const nlohmann::json& command : commands_) names.push_back(command["method"]);
    return names;
  }

  platform::PipeStatus send(std::string_view bytes, const platform::Deadline&) override {
    sent.emplace_back(bytes);
    // Each send is one command ending with its NUL.
    commands_.push_back(nlohmann::json::parse(bytes.substr(0, bytes.size() - 1)));
    react(*this, commands_.back());
    return platform::PipeStatus::kDone;
  }

  platform::PipeStatus receive(std::string& received, const platform::Deadline&) override {
    if (incoming_.empty()) return whenEmpty;
    received += incoming_.front();
    incoming_.pop_front();
    return platform::PipeStatus::kDone;
  }

 private:
  std::deque<std::string> incoming_;
  std::vector<nlohmann::json> commands_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_TESTS_CAPTURE_REACTIVE_CHANNEL_H_
