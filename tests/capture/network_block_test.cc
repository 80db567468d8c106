// A page kept off the network: which URLs it may still load, and the answers its held requests get
// while the connection waits for something else.

#include <gtest/gtest.h>

#include <fstream>

#include "capture/staging/file_url.h"
#include "capture/devtools/network_block.h"
#include "capture/devtools/page_supply.h"
#include "capture/devtools/protocol_connection.h"
#include "tests/capture/reactive_channel.h"
#include "tests/fake_browser/fake_devtools_channel.h"
#include "tests/fake_browser/request_patterns.h"
#include "tests/support/scratch_folder.h"

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

// Read as Chromium reads them (the fake browser's reading, tests/fake_browser/request_patterns.h),
// the patterns hold every request of every kind before it is sent, so none reaches a server
// before the connection has answered it.
TEST(NetworkBlockTest, EveryRequestIsHeldBeforeItIsSent) {
  const json patterns = networkBlockPatterns();
  const std::pair<const char*, const char*> requests[] = {
      {"http://127.0.0.1/", "Document"},
      {"https://example.invalid/a.css", "Stylesheet"},
      {"http://127.0.0.1/a.png?x=1#y", "Image"},
      {"ws://127.0.0.1:9222/", "WebSocket"},
      {"https://a.invalid/f", "Fetch"},
      {"http://a.invalid/s.js", "Script"},
      {"ftp://a.invalid/x", "Other"},
      {"file:///tmp/a.html", "Document"},
      {"data:,x", "Image"},
      {"", "Other"},
  };
  for (const auto& [url, type] : requests) {
    EXPECT_TRUE(test::holdsBeforeSending(patterns, url, type)) << url << " " << type;
  }
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

// A page of the fake browser, whose document asks for resources of every kind; each held request
// is answered in the page's session while the page loads.
TEST(NetworkBlockTest, APageKeptOffTheNetworkLoadsWithItsLocalResourcesOnly) {
  test::ScratchFolder scratch;
  const std::filesystem::path file = scratch.path() / "page.html";
  std::ofstream(file, std::ios::binary)
      << "asks-for:http://127.0.0.1:9/a.css asks-for:file:///pictures/b.png "
         "asks-for:data:image/png;base64,AAAA asks-for:https://b.invalid/c.js";
  test::FakeDevToolsChannel channel;
  ProtocolConnection connection(channel);
  PageSupply pages(connection, PageSupply::Lifetime::kManyPages);
  std::optional<PageLease> page = pages.open(Deadline::never());
  ASSERT_TRUE(page);
  ASSERT_TRUE((*page)->blockNetwork(Deadline::never()));
  ASSERT_TRUE((*page)->navigate(*fileUrl(file.u16string()), Deadline::never()));

  std::vector<std::string> answers;
  for (const json& command : channel.commands()) {
    const std::string method = command["method"];
    if (!method.starts_with("Fetch.") || method == "Fetch.enable") continue;
    EXPECT_EQ(command["sessionId"], channel.commandsNamed("Fetch.enable")[0]["sessionId"]);
    answers.push_back(method + " " + command["params"].value("errorReason", ""));
  }
  EXPECT_EQ(answers, (std::vector<std::string>{"Fetch.continueRequest ",  // the document
                                               "Fetch.failRequest BlockedByClient",
                                               "Fetch.continueRequest ", "Fetch.continueRequest ",
                                               "Fetch.failRequest BlockedByClient"}));
  EXPECT_FALSE(connection.broken());
}

}  // namespace
}  // namespace ondrel::devtools
