// A page kept off the network: which URLs it may still load, and the answers its held requests get
// while the connection waits for something else.

#include <gtest/gtest.h>

#include "capture/devtools/network_block.h"
#include "capture/devtools/protocol_connection.h"
#include "tests/capture/reactive_channel.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

TEST(NetworkBlockTest, OnlyFileAndDataUrlsAreLocal) {
  for (const char* local : {"file:///tmp/a.png", "FILE:///tmp/a.png", "File://server/share/a.css",
                            "data:", "data:image/png;base64,AAAA", "DATA:text/plain,x"}) {
    EXPECT_TRUE(isLocalResource(local)) << local;
  }
  for (const char* remote :
       {"http://127.0.0.1/x", "https://example.invalid/a.css", "ws://127.0.0.1:9222/",
        "blob:file:///0c2f", "file", "files:///tmp/a", "fil:///tmp/a", "filesystem:file:///a",
        "datas:x", "about:blank", "javascript:1", "//127.0.0.1/x", "/tmp/a.png", ""}) {
    EXPECT_FALSE(isLocalResource(remote)) << remote;
  }
}

TEST(NetworkBlockTest, EveryRequestIsHeldBeforeItIsSent) {
  // No request stage named: the browser holds requests, not responses.
  EXPECT_EQ(networkBlockPatterns(), json::parse(R"({"patterns":[{"urlPattern":"*"}]})"));
}

json held(const char* sessionId, json params) {
  return {{"method", kRequestHeld}, {"params", std::move(params)}, {"sessionId", sessionId}};
}

json heldRequest(const char* sessionId, const char* requestId, const char* url) {
  return held(sessionId, {{"requestId", requestId}, {"request", {{"url", url}}}});
}

// The commands sent after the first, while that first one waited for its answer.
std::vector<json> answersWhileWaiting(ReactiveChannel& channel, const std::vector<json>& events) {
  ProtocolConnection connection(channel);
  NetworkBlock block(connection);
  for (const json& event : events) channel.queue(event);
  channel.queue({{"id", 1}, {"result", json::object()}});
  EXPECT_TRUE(connection.call("Page.navigate", json::object(), "page", Deadline::never()));
  EXPECT_FALSE(connection.broken());
  std::vector<json> answers = channel.commands();
  answers.erase(answers.begin());
  for (json& answer : answers) answer.erase("id");
  return answers;
}

TEST(NetworkBlockTest, LocalRequestsGoOnAndTheRestFailInTheirSessions) {
  ReactiveChannel channel;
  std::vector<json> answers =
      answersWhileWaiting(channel, {heldRequest("page-a", "r1", "file:///tmp/a.css"),
                                    heldRequest("page-b", "r2", "http://127.0.0.1/x"),
                                    heldRequest("page-a", "r3", "data:image/png;base64,AAAA")});
  ASSERT_EQ(answers.size(), 3u);
  EXPECT_EQ(answers[0], json::parse(R"({"method":"Fetch.continueRequest",
      "params":{"requestId":"r1"},"sessionId":"page-a"})"));
  EXPECT_EQ(answers[1], json::parse(R"({"method":"Fetch.failRequest",
      "params":{"requestId":"r2","errorReason":"BlockedByClient"},"sessionId":"page-b"})"));
  EXPECT_EQ(answers[2]["method"], "Fetch.continueRequest");
}

TEST(NetworkBlockTest, MalformedHeldRequestsAreNeverLetThrough) {
  ReactiveChannel channel;
  json noParams = held("page", json::object());
  noParams.erase("params");
  std::vector<json> answers = answersWhileWaiting(
      channel, {noParams, held("page", "not an object"), held("page", {{"requestId", "r1"}}),
                held("page", {{"requestId", "r2"}, {"request", "file:///a"}}),
                held("page", {{"requestId", 3}, {"request", {{"url", 4}}}})});
  // Without parameters there is nothing to answer; every request without a readable URL fails.
  ASSERT_EQ(answers.size(), 3u);
  for (json& answer : answers) {
    EXPECT_EQ(answer["method"], "Fetch.failRequest") << answer;
    EXPECT_EQ(answer["params"]["errorReason"], "BlockedByClient") << answer;
  }
}

}  // namespace
}  // namespace ondrel::devtools
