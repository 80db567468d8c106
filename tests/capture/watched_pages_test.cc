// Pages that go while a call waits for them: each way the browser reports a page gone ends the
// waits for that page at once, and only for that page; the page's commands are no longer sent.
// Then a page of the fake browser whose renderer crashes or whose session detaches while it loads.

#include <gtest/gtest.h>

#include <fstream>
#include <vector>

#include "capture/staging/file_url.h"
#include "capture/devtools/page_supply.h"
#include "capture/devtools/protocol_connection.h"
#include "capture/devtools/watched_session.h"
#include "tests/capture/reactive_channel.h"
#include "tests/fake_browser/fake_devtools_channel.h"
#include "tests/support/scratch_folder.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

const Deadline kNever = Deadline::never();

json endEvent(const char* method, json params, const char* sessionId = nullptr) {
  json event = {{"method", method}, {"params", std::move(params)}};
  if (sessionId != nullptr) event["sessionId"] = sessionId;
  return event;
}

// Every way Chromium tells a page has gone, for the page "t" of session "s".
std::vector<json> endsOfPageT() {
  return {
      endEvent("Inspector.targetCrashed", json::object(), "s"),
      endEvent("Inspector.detached", {{"reason", "Render process gone."}}, "s"),
      endEvent("Target.detachedFromTarget", {{"sessionId", "s"}, {"targetId", "t"}}),
      endEvent("Target.detachedFromTarget", {{"sessionId", "s"}}),
      endEvent("Target.targetCrashed", {{"targetId", "t"}, {"status", "crashed"}}),
      endEvent("Target.targetDestroyed", {{"targetId", "t"}}),
  };
}

TEST(WatchedPageTest, EveryReportOfItsEndStopsTheWaitsForThePage) {
  for (const json& end : endsOfPageT()) {
    SCOPED_TRACE(end.dump());
    ReactiveChannel channel;  // closed once empty: a wait that read on would break the connection
    ProtocolConnection connection(channel);
    const WatchedSession session(connection, "s", "t");
    const auto screenshot =
        connection.request("Page.captureScreenshot", json::object(), "s", kNever);
    ASSERT_TRUE(screenshot);
    channel.queue(end);
    EXPECT_EQ(connection.answer(*screenshot, kNever), std::nullopt);
    EXPECT_FALSE(connection.waitForEvent("Page.loadEventFired", "s", kNever));
    EXPECT_TRUE(connection.pageGone("s"));
    EXPECT_FALSE(connection.broken());
    // Not even sent any more.
    EXPECT_EQ(connection.call("Page.enable", json::object(), "s", kNever), std::nullopt);
    EXPECT_EQ(channel.sent.size(), 1u);
  }
}

TEST(WatchedPageTest, OtherPagesEndsLeaveItAlone) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  const WatchedSession session(connection, "s", "t");
  const WatchedSession other(connection, "s2", "t2");
  channel.queue(endEvent("Inspector.targetCrashed", json::object(), "s2"));
  channel.queue(endEvent("Target.detachedFromTarget", {{"sessionId", "s3"}, {"targetId", "t3"}}));
  channel.queue(endEvent("Target.targetDestroyed", {{"targetId", "t2"}}));
  channel.queue(endEvent("Inspector.targetCrashed", json::object()));
  channel.queue(endEvent("Page.loadEventFired", json::object(), "s"));
  EXPECT_TRUE(connection.waitForEvent("Page.loadEventFired", "s", kNever));
  EXPECT_FALSE(connection.pageGone("s"));
  EXPECT_TRUE(connection.pageGone("s2"));
}

TEST(WatchedPageTest, AnEventThatCameFirstStillCounts) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  const WatchedSession session(connection, "s", "t");
  channel.queue(endEvent("Page.loadEventFired", json::object(), "s"));
  channel.queue(endEvent("Inspector.targetCrashed", json::object(), "s"));
  EXPECT_TRUE(connection.waitUntil([&] { return connection.pageGone("s"); }, kNever));
  EXPECT_TRUE(connection.waitForEvent("Page.loadEventFired", "s", kNever));
}

TEST(WatchedPageTest, OnlyWatchedPagesAreNoted) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  {
    WatchedSession moved(connection, "s", "t");
    const WatchedSession session = std::move(moved);
  }
  channel.queue(endEvent("Inspector.targetCrashed", json::object(), "s"));
  channel.queue({{"id", 1}, {"result", json::object()}, {"sessionId", "s"}});
  // The page is no longer watched: its commands go and are answered as before.
  EXPECT_EQ(connection.call("Page.enable", json::object(), "s", kNever), json::object());
  EXPECT_FALSE(connection.pageGone("s"));
}

class FakePageTest : public ::testing::Test {
 protected:
  FakePageTest() { channel.whenSilent = platform::PipeStatus::kClosed; }

  // Opens a page of the fake and navigates it to a document of `text`; whether it loaded.
  bool loadPage(const std::string& text) {
    const std::filesystem::path file = scratch.path() / "page.html";
    std::ofstream(file, std::ios::binary) << text;
    page = supply.open(kNever);
    return page && (*page)->navigate(*fileUrl(file.u16string()), kNever);
  }

  test::ScratchFolder scratch;
  test::FakeDevToolsChannel channel;
  ProtocolConnection connection{channel};
  PageSupply supply{connection, PageSupply::Lifetime::kManyPages};
  std::optional<PageLease> page;
};

// The fake says nothing after either, and the channel then reads as closed: a wait that did not
// stop at the page's end would have broken the connection.
TEST_F(FakePageTest, ACrashedRendererEndsTheWaitForItsLoad) {
  EXPECT_FALSE(loadPage("seed:3 renderer:crashes"));
  EXPECT_FALSE(connection.broken());
  EXPECT_EQ((*page)->screenshot(kNever), std::nullopt);
  EXPECT_EQ(channel.commandsNamed("Page.captureScreenshot").size(), 0u);
  // The browser goes on: the next page loads.
  EXPECT_TRUE(loadPage("seed:4"));
}

TEST_F(FakePageTest, ADetachedSessionEndsTheWaitForItsLoad) {
  EXPECT_FALSE(loadPage("seed:3 renderer:detaches"));
  EXPECT_FALSE(connection.broken());
  EXPECT_TRUE(loadPage("seed:4"));
}

}  // namespace
}  // namespace ondrel::devtools
