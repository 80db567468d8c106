// The connection's requests answered in any order, its waits, and the events it hands to handlers
// instead of keeping them.

#include <gtest/gtest.h>

#include <vector>

#include "capture/devtools/protocol_connection.h"
#include "tests/capture/reactive_channel.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

const Deadline kNever = Deadline::never();

json event(const char* method, const char* sessionId, json params = json::object()) {
  return {{"method", method}, {"params", std::move(params)}, {"sessionId", sessionId}};
}

TEST(ProtocolRequestsTest, AnswersOutOfOrderAreKeptForTheirRequestAndTakenOnce) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  const auto first = connection.request("Target.createBrowserContext", json::object(), {}, kNever);
  const auto second = connection.request("Target.getTargets", json::object(), {}, kNever);
  ASSERT_TRUE(first && second);
  channel.queue({{"id", *second}, {"result", {{"which", "second"}}}});
  channel.queue({{"id", *first}, {"result", {{"which", "first"}}}});

  EXPECT_EQ(connection.answer(*first, kNever), json({{"which", "first"}}));
  // Read while the first was waited for; reading again would find the channel closed.
  EXPECT_EQ(connection.answer(*second, kNever), json({{"which", "second"}}));
  EXPECT_FALSE(connection.broken());

  EXPECT_EQ(connection.answer(*first, kNever), std::nullopt);
  EXPECT_EQ(connection.answer(*second, kNever), std::nullopt);
  EXPECT_EQ(connection.answer(*second + 1, kNever), std::nullopt);
  EXPECT_FALSE(connection.broken());
}

TEST(ProtocolRequestsTest, AnAnswerToAPostedCommandIsPassedOver) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  ASSERT_TRUE(connection.post("Target.detachFromTarget", json::object(), {}, kNever));
  const std::int64_t posted = channel.commands().back()["id"];
  const auto asked = connection.request("Page.enable", json::object(), "s", kNever);
  ASSERT_TRUE(asked);
  channel.queue({{"id", posted}, {"result", {{"posted", true}}}});
  channel.queue({{"id", *asked}, {"result", {{"asked", true}}}});

  EXPECT_EQ(connection.answer(*asked, kNever), json({{"asked", true}}));
  EXPECT_EQ(connection.answer(posted, kNever), std::nullopt);
  EXPECT_FALSE(connection.broken());
}

TEST(ProtocolRequestsTest, AnErrorAnswerFailsOnlyItsRequest) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  const auto refused = connection.request("Page.navigate", json::object(), "s", kNever);
  const auto unshaped = connection.request("Page.getFrameTree", json::object(), "s", kNever);
  const auto granted = connection.request("Page.enable", json::object(), "s", kNever);
  ASSERT_TRUE(refused && unshaped && granted);
  channel.queue({{"id", *refused}, {"error", {{"code", -32000}, {"message", "no"}}}});
  channel.queue({{"id", *unshaped}, {"result", 5}});
  channel.queue({{"id", *granted}, {"result", json::object()}});

  EXPECT_EQ(connection.answer(*granted, kNever), json::object());
  EXPECT_EQ(connection.answer(*refused, kNever), std::nullopt);
  EXPECT_EQ(connection.answer(*unshaped, kNever), std::nullopt);
  EXPECT_FALSE(connection.broken());
  EXPECT_TRUE(connection.post("Page.reload", json::object(), "s", kNever));
}

TEST(ProtocolWaitTest, StopsAsSoonAsTheConditionHolds) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  int seen = 0;
  connection.onEvent("Page.frameNavigated", [&](const json&, const Deadline&) { ++seen; });
  for (int i = 0; i < 3; ++i) channel.queue(event("Page.frameNavigated", "s"));

  EXPECT_TRUE(connection.waitUntil([&] { return seen == 2; }, kNever));
  EXPECT_EQ(channel.unread(), 1u);
  // Holding already, it reads nothing.
  EXPECT_TRUE(connection.waitUntil([] { return true; }, kNever));
  EXPECT_EQ(channel.unread(), 1u);
}

TEST(ProtocolWaitTest, AChannelClosedFirstBreaksTheConnection) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  channel.queue(event("Page.loadEventFired", "s"));

  EXPECT_FALSE(connection.waitUntil([] { return false; }, kNever));
  EXPECT_TRUE(connection.broken());
  EXPECT_EQ(connection.request("Page.enable", json::object(), "s", kNever), std::nullopt);
  EXPECT_FALSE(connection.post("Page.enable", json::object(), "s", kNever));
  EXPECT_TRUE(channel.sent.empty());
}

TEST(ProtocolEventHandlerTest, TheHandlerTakesItsEventsInsteadOfTheirBeingKept) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  std::vector<json> handed;
  connection.onEvent("Fetch.requestPaused",
                     [&](const json& paused, const Deadline&) { handed.push_back(paused); });
  channel.react = [](ReactiveChannel& browser, const json& command) {
    browser.queue(event("Fetch.requestPaused", "s", {{"requestId", "r1"}}));
    browser.queue(event("Page.loadEventFired", "s"));
    browser.answer(command, json::object());
  };

  ASSERT_TRUE(connection.call("Page.navigate", {{"url", "file:///a"}}, "s", kNever));
  ASSERT_EQ(handed.size(), 1u);
  EXPECT_EQ(handed[0], event("Fetch.requestPaused", "s", {{"requestId", "r1"}}));
  // Other events are still kept; the handed one is not.
  EXPECT_TRUE(connection.waitForEvent("Page.loadEventFired", "s", kNever));
  EXPECT_FALSE(connection.waitForEvent("Fetch.requestPaused", "s", kNever));
}

TEST(ProtocolEventHandlerTest, TheHandlerMayPostCommandsWhileACallWaits) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  connection.onEvent("Fetch.requestPaused", [&](const json& paused, const Deadline& deadline) {
    connection.post("Fetch.continueRequest", {{"requestId", paused["params"]["requestId"]}},
                    paused["sessionId"].get<std::string>(), deadline);
  });
  // The page loads only once its request goes on; the answer to that comes first.
  channel.react = [](ReactiveChannel& browser, const json& command) {
    if (command["method"] == "Page.navigate") {
      browser.queue(event("Fetch.requestPaused", "s", {{"requestId", "r1"}}));
    } else {
      browser.answer(command, json::object());
      browser.queue({{"id", 1}, {"result", {{"frameId", "f"}}}});
    }
  };

  EXPECT_EQ(connection.call("Page.navigate", {{"url", "file:///a"}}, "s", kNever),
            json({{"frameId", "f"}}));
  ASSERT_EQ(channel.sent.size(), 2u);
  EXPECT_EQ(channel.sent[1],
            std::string(R"({"id":2,"method":"Fetch.continueRequest","params":{"requestId":"r1"},)"
                        R"("sessionId":"s"})") +
                '\0');
}

TEST(ProtocolEventHandlerTest, AnEmptyHandlerEndsTheHanding) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  int handed = 0;
  connection.onEvent("Target.attachedToTarget", [&](const json&, const Deadline&) { ++handed; });
  channel.queue(event("Target.attachedToTarget", ""));
  channel.queue(event("Target.targetCreated", ""));
  ASSERT_TRUE(connection.waitForEvent("Target.targetCreated", "", kNever));
  EXPECT_EQ(handed, 1);

  connection.onEvent("Target.attachedToTarget", nullptr);
  channel.queue(event("Target.attachedToTarget", ""));
  EXPECT_TRUE(connection.waitForEvent("Target.attachedToTarget", "", kNever));
  EXPECT_EQ(handed, 1);
}

}  // namespace
}  // namespace ondrel::devtools
