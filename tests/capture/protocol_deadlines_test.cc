// A deadline that passes ends only the wait it bounded: the connection goes on, an answer that
// comes later is passed over or handed to whoever still has a use for it, and a message half read
// waits for the next call.

#include <gtest/gtest.h>

#include <vector>

#include "capture/devtools/browser_context.h"
#include "capture/devtools/protocol_connection.h"
#include "tests/capture/reactive_channel.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;
using platform::PipeStatus;

const Deadline kNever = Deadline::never();

// A browser that says nothing more reads as a deadline passed.
ReactiveChannel silentBrowser() {
  ReactiveChannel channel;
  channel.whenEmpty = PipeStatus::kTimedOut;
  return channel;
}

TEST(ProtocolDeadlineTest, ALateAnswerIsNeverTakenForAnotherCalls) {
  ReactiveChannel channel = silentBrowser();
  ProtocolConnection connection(channel);
  EXPECT_EQ(connection.call("Page.captureScreenshot", json::object(), "s", kNever), std::nullopt);
  EXPECT_FALSE(connection.broken());

  // The late answer comes first, then the one to the next call.
  channel.react = [](ReactiveChannel& browser, const json& command) {
    browser.queue({{"id", 1}, {"result", {{"data", "late"}}}, {"sessionId", "s"}});
    browser.answer(command, {{"data", "mine"}});
  };
  EXPECT_EQ(connection.call("Page.captureScreenshot", json::object(), "s", kNever),
            json({{"data", "mine"}}));
  EXPECT_FALSE(connection.broken());
}

TEST(ProtocolDeadlineTest, AMessageHalfReadIsFinishedByTheNextCall) {
  ReactiveChannel channel = silentBrowser();
  ProtocolConnection connection(channel);
  const std::string answer = json({{"id", 1}, {"result", {{"which", "first"}}}}).dump();
  const auto first = connection.request("Target.getTargets", json::object(), {}, kNever);
  ASSERT_TRUE(first);
  channel.queueBytes(answer.substr(0, 10));
  EXPECT_EQ(connection.answer(*first, kNever), std::nullopt);
  EXPECT_FALSE(connection.broken());

  channel.queueBytes(answer.substr(10) + '\0');
  channel.react = [](ReactiveChannel& browser, const json& command) {
    browser.answer(command, {{"which", "second"}});
  };
  EXPECT_EQ(connection.call("Target.getTargets", json::object(), {}, kNever),
            json({{"which", "second"}}));
  EXPECT_FALSE(connection.broken());
}

TEST(ProtocolDeadlineTest, NothingIsSentOrReadOnceTheDeadlinePassed) {
  ReactiveChannel channel;
  channel.queue({{"method", "Page.frameNavigated"}, {"params", json::object()}});
  ProtocolConnection connection(channel);
  const Deadline passed = Deadline::after(std::chrono::milliseconds(0));
  EXPECT_EQ(connection.call("Browser.getVersion", json::object(), {}, passed), std::nullopt);
  EXPECT_FALSE(connection.post("Browser.close", json::object(), {}, passed));
  EXPECT_FALSE(connection.waitUntil([] { return false; }, passed));
  EXPECT_TRUE(channel.sent.empty());
  EXPECT_EQ(channel.unread(), 1u);
  EXPECT_FALSE(connection.broken());
}

TEST(ProtocolDeadlineTest, ACommandSentOnlyInPartBreaksTheConnection) {
  struct StuckPipe final : MessageChannel {
    PipeStatus send(std::string_view, const Deadline&) override { return PipeStatus::kTimedOut; }
    PipeStatus receive(std::string&, const Deadline&) override { return PipeStatus::kTimedOut; }
  } channel;
  ProtocolConnection connection(channel);
  EXPECT_EQ(connection.call("Page.enable", json::object(), "s", kNever), std::nullopt);
  EXPECT_TRUE(connection.broken());
}

TEST(ProtocolDeadlineTest, ALateResultGoesToWhoeverStillHasAUseForIt) {
  ReactiveChannel channel = silentBrowser();
  ProtocolConnection connection(channel);
  std::vector<json> late;
  const auto keep = [&](const json& result, const Deadline&) { late.push_back(result); };
  const auto answered =
      connection.request("Target.createBrowserContext", json::object(), {}, kNever);
  const auto refused =
      connection.request("Target.createBrowserContext", json::object(), {}, kNever);
  ASSERT_TRUE(answered && refused);
  EXPECT_EQ(connection.answer(*answered, kNever, keep), std::nullopt);
  EXPECT_EQ(connection.answer(*refused, kNever, keep), std::nullopt);

  channel.queue({{"id", *refused}, {"error", {{"message", "no"}}}});
  channel.queue({{"id", *answered}, {"result", {{"browserContextId", "late-1"}}}});
  channel.queue({{"id", *answered}, {"result", {{"browserContextId", "again"}}}});
  EXPECT_FALSE(connection.waitUntil([] { return false; }, kNever));
  // An error gives nothing to handle; the handler is used once.
  EXPECT_EQ(late, std::vector<json>{json({{"browserContextId", "late-1"}})});
}

TEST(ProtocolDeadlineTest, AContextThatComesTooLateIsDisposedOf) {
  ReactiveChannel channel = silentBrowser();
  ProtocolConnection connection(channel);
  EXPECT_EQ(BrowserContext::create(connection, kNever), std::nullopt);
  const std::int64_t asked = channel.commands().back()["id"];
  channel.queue({{"id", asked}, {"result", {{"browserContextId", "late-1"}}}});
  EXPECT_FALSE(connection.waitUntil([] { return false; }, kNever));
  ASSERT_EQ(channel.methods(), (std::vector<std::string>{"Target.createBrowserContext",
                                                         "Target.disposeBrowserContext"}));
  EXPECT_EQ(channel.commands()[1]["params"], json({{"browserContextId", "late-1"}}));
}

}  // namespace
}  // namespace ondrel::devtools
