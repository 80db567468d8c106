// The DevTools engine's pieces that need no browser: the frames and messages of the protocol, the
// screenshot's base64, the launch switches and the whole-page height.

#include <gtest/gtest.h>

#include <deque>

#include "capture/devtools/base64.h"
#include "capture/devtools/devtools_capture.h"
#include "capture/devtools/launch_command_line.h"
#include "capture/devtools/message_framer.h"
#include "capture/devtools/protocol_connection.h"

namespace ondrel::devtools {
namespace {

using platform::Deadline;
using platform::PipeStatus;

TEST(Base64Test, DecodesEveryPaddingAndRefusesTheRest) {
  const auto bytes = [](std::string_view text) {
    return std::vector<std::uint8_t>(text.begin(), text.end());
  };
  EXPECT_EQ(decodeBase64(""), bytes(""));
  EXPECT_EQ(decodeBase64("TWFu"), bytes("Man"));
  EXPECT_EQ(decodeBase64("TWE="), bytes("Ma"));
  EXPECT_EQ(decodeBase64("TQ=="), bytes("M"));
  EXPECT_EQ(decodeBase64("+/8="), (std::vector<std::uint8_t>{0xFB, 0xFF}));
  for (const char* bad : {"TWF", "TW=u", "T===", "TQ=x", "TR==", "TW\nu", "TWF-"}) {
    EXPECT_EQ(decodeBase64(bad), std::nullopt) << bad;
  }
}

TEST(MessageFramerTest, CutsAtEveryNulWhereverTheChunksEnd) {
  MessageFramer framer(100);
  framer.pending() += "{\"a\":";
  EXPECT_EQ(framer.next(), std::nullopt);
  framer.pending() += std::string("1}\0{}\0{\"b", 9);
  EXPECT_EQ(framer.next(), "{\"a\":1}");
  EXPECT_EQ(framer.next(), "{}");
  EXPECT_EQ(framer.next(), std::nullopt);
  framer.pending() += std::string("\":2}\0", 5);
  EXPECT_EQ(framer.next(), "{\"b\":2}");
  EXPECT_FALSE(framer.overflowed());
}

TEST(MessageFramerTest, RefusesAMessageLongerThanAllowed) {
  MessageFramer framer(8);
  framer.pending() += std::string(9, 'x');
  EXPECT_EQ(framer.next(), std::nullopt);
  EXPECT_TRUE(framer.overflowed());
}

// A browser played from a script: each command sent is answered by the next scripted reply.
class ScriptedChannel final : public MessageChannel {
 public:
  std::deque<std::string> replies;  // raw bytes, each handed over after one send
  std::vector<std::string> sent;
  PipeStatus whenEmpty = PipeStatus::kTimedOut;

  PipeStatus send(std::string_view bytes, const Deadline&) override {
    sent.emplace_back(bytes);
    return PipeStatus::kDone;
  }
  PipeStatus receive(std::string& received, const Deadline&) override {
    if (replies.empty()) return whenEmpty;
    received += replies.front();
    replies.pop_front();
    return PipeStatus::kDone;
  }
};

std::string frame(std::string_view text) { return std::string(text) + '\0'; }

TEST(ProtocolConnectionTest, FramesCommandsWithNumbersAndSessions) {
  ScriptedChannel channel;
  channel.replies = {frame(R"({"id":1,"result":{"targetId":"t"}})"),
                     frame(R"({"id":2,"result":{},"sessionId":"s"})")};
  ProtocolConnection connection(channel);
  const auto created =
      connection.call("Target.createTarget", {{"url", "about:blank"}}, {}, Deadline::never());
  ASSERT_TRUE(created);
  EXPECT_EQ((*created)["targetId"], "t");
  EXPECT_TRUE(connection.call("Page.enable", nlohmann::json::object(), "s", Deadline::never()));
  ASSERT_EQ(channel.sent.size(), 2u);
  EXPECT_EQ(channel.sent[0],
            frame(R"({"id":1,"method":"Target.createTarget","params":{"url":"about:blank"}})"));
  EXPECT_EQ(channel.sent[1],
            frame(R"({"id":2,"method":"Page.enable","params":{},"sessionId":"s"})"));
}

TEST(ProtocolConnectionTest, KeepsEventsThatComeBeforeTheAnswer) {
  ScriptedChannel channel;
  // The load event and the answer arrive in one chunk, the event first.
  channel.replies = {frame(R"({"method":"Page.loadEventFired","params":{},"sessionId":"other"})") +
                     frame(R"({"method":"Page.loadEventFired","params":{},"sessionId":"s"})") +
                     frame(R"({"id":1,"result":{"frameId":"f"},"sessionId":"s"})")};
  ProtocolConnection connection(channel);
  ASSERT_TRUE(connection.call("Page.navigate", {{"url", "file:///a"}}, "s", Deadline::never()));
  EXPECT_TRUE(connection.waitForEvent("Page.loadEventFired", "s", Deadline::never()));
  // Used up: a second wait needs a second event, which never comes.
  EXPECT_FALSE(connection.waitForEvent("Page.loadEventFired", "s", Deadline::never()));
}

TEST(ProtocolConnectionTest, ForgottenEventsNoLongerCountForTheirSessionOnly) {
  ScriptedChannel channel;
  channel.replies = {frame(R"({"method":"Page.loadEventFired","sessionId":"s"})") +
                     frame(R"({"method":"Page.loadEventFired","sessionId":"other"})") +
                     frame(R"({"id":1,"result":{}})")};
  ProtocolConnection connection(channel);
  ASSERT_TRUE(connection.call("Page.enable", nlohmann::json::object(), "s", Deadline::never()));
  connection.forgetEvents("Page.loadEventFired", "s");
  EXPECT_FALSE(connection.waitForEvent("Page.loadEventFired", "s", Deadline::never()));
  // Another page's load, kept while this one's was forgotten, still counts for it.
  EXPECT_TRUE(connection.waitForEvent("Page.loadEventFired", "other", Deadline::never()));
}

TEST(ProtocolConnectionTest, AnErrorAnswerFailsOnlyItsCall) {
  ScriptedChannel channel;
  channel.replies = {frame(R"({"id":1,"error":{"code":-32000,"message":"no"}})"),
                     frame(R"({"id":2,"result":{}})")};
  ProtocolConnection connection(channel);
  EXPECT_EQ(connection.call("Page.navigate", {}, "s", Deadline::never()), std::nullopt);
  EXPECT_FALSE(connection.broken());
  EXPECT_TRUE(connection.call("Page.enable", {}, "s", Deadline::never()));
}

TEST(ProtocolConnectionTest, AnswersToPostedCommandsArePassedOver) {
  ScriptedChannel channel;
  channel.replies = {frame(R"({"id":1,"result":{"stale":true}})"),
                     frame(R"({"id":2,"result":{"fresh":true}})")};
  ProtocolConnection connection(channel);
  ASSERT_TRUE(
      connection.post("Target.closeTarget", nlohmann::json::object(), {}, Deadline::never()));
  const auto result = connection.call("Page.enable", {}, {}, Deadline::never());
  ASSERT_TRUE(result);
  EXPECT_TRUE(result->contains("fresh"));
}

TEST(ProtocolConnectionTest, ABadMessageOrALostPipeBreaksTheConnectionForGood) {
  const std::pair<const char*, std::deque<std::string>> cases[] = {
      {"cut JSON", {frame(R"({"id":1,"result":{"x")")}},
      {"not an object", {frame("[1,2]")}},
      {"nothing at all", {}},
  };
  for (const auto& [name, replies] : cases) {
    ScriptedChannel channel;
    channel.replies = replies;
    channel.whenEmpty = PipeStatus::kClosed;
    channel.replies.push_back(frame(R"({"id":2,"result":{}})"));
    if (std::string_view(name) == "nothing at all") channel.replies.clear();
    ProtocolConnection connection(channel);
    EXPECT_EQ(connection.call("Page.enable", {}, "s", Deadline::never()), std::nullopt) << name;
    EXPECT_TRUE(connection.broken()) << name;
    // Not even sent any more.
    EXPECT_EQ(connection.call("Page.enable", {}, "s", Deadline::never()), std::nullopt) << name;
    EXPECT_EQ(channel.sent.size(), 1u) << name;
  }
}

TEST(ProtocolConnectionTest, AMessageTooLongBreaksTheConnection) {
  ScriptedChannel channel;
  channel.replies = {std::string(64, ' '), std::string(64, ' ')};
  ProtocolConnection connection(channel, 100);
  EXPECT_EQ(connection.call("Page.captureScreenshot", {}, "s", Deadline::never()), std::nullopt);
  EXPECT_TRUE(connection.broken());
}

TEST(LaunchCommandLineTest, SwitchesInTheirOrder) {
  BrowserLaunch launch{u"/usr/bin/chromium", false, Elevation::kNone};
  EXPECT_EQ(launchCommandLine(launch, u"/tmp/ondrel-profile-x"),
            u"\"/usr/bin/chromium\" --headless --remote-debugging-pipe "
            u"--user-data-dir=\"/tmp/ondrel-profile-x\" --no-first-run "
            u"--no-default-browser-check --disable-gpu-vsync --disable-frame-rate-limit "
            u"--disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup,"
            u"SpareRendererForSitePerProcess --hide-scrollbars about:blank");
  launch = {u"C:\\Edge\\msedge.exe", true, Elevation::kFull};
  EXPECT_EQ(launchCommandLine(launch, u"C:\\Temp\\p"),
            u"\"C:\\Edge\\msedge.exe\" --headless --remote-debugging-pipe "
            u"--user-data-dir=\"C:\\Temp\\p\" --no-first-run --no-default-browser-check "
            u"--disable-gpu-vsync --disable-frame-rate-limit --disable-features=WebUIOmniboxPopup,"
            u"WebUIOmniboxAimPopup,SpareRendererForSitePerProcess --do-not-de-elevate "
            u"about:blank");
  launch = {u"C:\\Edge\\msedge.exe", true, Elevation::kNone, true};
  EXPECT_EQ(launchCommandLine(launch, u"C:\\Temp\\p"),
            u"\"C:\\Edge\\msedge.exe\" --headless --remote-debugging-pipe "
            u"--user-data-dir=\"C:\\Temp\\p\" --no-first-run --no-default-browser-check "
            u"--disable-gpu-vsync --disable-frame-rate-limit --disable-features=WebUIOmniboxPopup,"
            u"WebUIOmniboxAimPopup,SpareRendererForSitePerProcess "
            u"--host-resolver-rules=\"MAP * ~NOTFOUND\" about:blank");
}

TEST(FullPageHeightTest, WholeRowsWithinTheTallest) {
  EXPECT_EQ(fullPageHeight(480, 16384), 480);
  EXPECT_EQ(fullPageHeight(480.01, 16384), 481);
  EXPECT_EQ(fullPageHeight(0.2, 16384), 1);
  EXPECT_EQ(fullPageHeight(-5, 16384), 1);
  EXPECT_EQ(fullPageHeight(std::nan(""), 16384), 1);
  EXPECT_EQ(fullPageHeight(1e12, 16384), 16384);
  EXPECT_EQ(fullPageHeight(5000, 1200), 1200);
}

}  // namespace
}  // namespace ondrel::devtools
