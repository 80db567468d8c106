// The fake browser's protocol side in the test's own process, as the channel of the plug-in's
// connection: each command sent is taken by the fake at once, and what the fake sends is read
// back in order. With nothing left to read the channel reports `whenSilent`: by default a passed
// deadline, as a browser that has nothing more to say would leave a waiting call.
#ifndef ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_CHANNEL_H_
#define ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_CHANNEL_H_

#include <nlohmann/json.hpp>

#include <deque>
#include <string>
#include <string_view>
#include <vector>

#include "capture/devtools/protocol_connection.h"
#include "tests/fake_browser/fake_devtools.h"

namespace ondrel::test {

class FakeDevToolsChannel final : public devtools::MessageChannel {
 public:
  explicit FakeDevToolsChannel(std::string_view mode = "")
      : browser_(mode, 0, [this](std::string message) {
          heard_.push_back(nlohmann::json::parse(message));
          unread_.push_back(std::move(message) + '\0');
        }) {}

  platform::PipeStatus send(std::string_view bytes, const platform::Deadline&) override {
    commands_.push_back(nlohmann::json::parse(bytes.substr(0, bytes.size() - 1)));
    browser_.take(commands_.back());
    return platform::PipeStatus::kDone;
  }

  platform::PipeStatus whenSilent = platform::PipeStatus::kTimedOut;

  platform::PipeStatus receive(std::string& received, const platform::Deadline&) override {
    if (unread_.empty()) return whenSilent;
    received += unread_.front();
    unread_.pop_front();
    return platform::PipeStatus::kDone;
  }

  FakeDevTools& browser() { return browser_; }
  // Every command the fake was sent, and every message it sent, in order.
  const std::vector<nlohmann::json>& commands() const { return commands_; }
  const std::vector<nlohmann::json>& heard() const { return heard_; }

  // The commands sent with `method`.
  std::vector<nlohmann::json> commandsNamed(std::string_view method) const {
    std::vector<nlohmann::json> named;
    for (const nlohmann::json& command : commands_) {
      if (command.value("method", "") == method) named.push_back(command);
    }
    return named;
  }

 private:
  FakeDevTools browser_;
  std::deque<std::string> unread_;
  std::vector<nlohmann::json> commands_;
  std::vector<nlohmann::json> heard_;
};

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_CHANNEL_H_
