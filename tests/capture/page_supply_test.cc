// Where a browser's pages come from, against a browser played in memory: the commands that open a
// page held at its start, whichever order the browser reports it in, the contexts made, prepared
// and disposed of, and the measured page kept for the picture that follows.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "capture/devtools/network_block.h"
#include "capture/devtools/page_supply.h"
#include "tests/capture/reactive_channel.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

const Deadline kNever = Deadline::never();

json attached(const std::string& targetId, const std::string& sessionId, bool waiting) {
  return {{"method", "Target.attachedToTarget"},
          {"params",
           {{"sessionId", sessionId},
            {"targetInfo", {{"targetId", targetId}, {"type", "page"}}},
            {"waitingForDebugger", waiting}}}};
}

// A browser that makes the contexts and pages it is asked for: page N is attached as session N,
// held at its start, and reported before or after createTarget's answer.
struct PlayedBrowser {
  bool attachBeforeAnswer = true;
  bool refusePages = false;
  // Sent while the next page is made, before it: pages the browser opened of its own accord,
  // requests of other pages.
  std::vector<json> alsoSent;
  int contexts = 0;
  int pages = 0;

  void operator()(ReactiveChannel& channel, const json& command) {
    const std::string method = command["method"];
    if (method == "Target.createBrowserContext") {
      channel.answer(command, {{"browserContextId", "context-" + std::to_string(++contexts)}});
    } else if (method == "Target.createTarget") {
      createTarget(channel, command);
    } else {
      channel.answer(command, json::object());
    }
  }

  void createTarget(ReactiveChannel& channel, const json& command) {
    if (refusePages) {
      channel.queue({{"id", command["id"]}, {"error", {{"message", "refused"}}}});
      return;
    }
    for (const json& other : std::exchange(alsoSent, {})) channel.queue(other);
    const std::string number = std::to_string(++pages);
    if (attachBeforeAnswer) channel.queue(attached("page-" + number, "session-" + number, true));
    channel.answer(command, {{"targetId", "page-" + number}});
    if (!attachBeforeAnswer) channel.queue(attached("page-" + number, "session-" + number, true));
  }
};

struct Fixture {
  explicit Fixture(PageSupply::Lifetime lifetime = PageSupply::Lifetime::kManyPages)
      : supply(connection, lifetime) {
    channel.react = [this](ReactiveChannel& played, const json& command) {
      browser(played, command);
    };
  }

  // The commands sent from the `from`th on.
  std::vector<json> sentSince(std::size_t from) const {
    const std::vector<json> all = channel.commands();
    return {all.begin() + std::ptrdiff_t(std::min(from, all.size())), all.end()};
  }

  std::vector<json> sentNamed(const std::string& method) const {
    std::vector<json> named;
    for (const json& command : channel.commands()) {
      if (command["method"] == method) named.push_back(command);
    }
    return named;
  }

  ReactiveChannel channel;
  PlayedBrowser browser;
  ProtocolConnection connection{channel};
  PageSupply supply;
};

std::vector<std::string> methodsOf(const std::vector<json>& commands) {
  std::vector<std::string> methods;
  for (const json& command : commands) methods.push_back(command["method"]);
  return methods;
}

TEST(PageSupplyTest, OpensEachPageInAContextOfItsOwnWhicheverWayItIsReported) {
  for (const bool attachBeforeAnswer : {true, false}) {
    SCOPED_TRACE(attachBeforeAnswer ? "attached before the answer" : "attached after the answer");
    Fixture f;
    f.browser.attachBeforeAnswer = attachBeforeAnswer;

    const std::optional<PageTarget> page = f.supply.open("file:///tmp/a.html", kNever);
    ASSERT_TRUE(page);
    EXPECT_EQ(page->targetId(), "page-1");
    EXPECT_EQ(page->contextId(), "context-1");
    std::vector<json> sent = f.channel.commands();
    ASSERT_EQ(methodsOf(sent),
              (std::vector<std::string>{"Target.setAutoAttach", "Target.createBrowserContext",
                                        "Target.createTarget", "Page.enable"}));
    EXPECT_EQ(sent[0]["params"],
              json({{"autoAttach", true}, {"waitForDebuggerOnStart", true}, {"flatten", true}}));
    EXPECT_EQ(sent[2]["params"],
              json({{"url", "file:///tmp/a.html"}, {"browserContextId", "context-1"}}));
    EXPECT_EQ(sent[3]["sessionId"], "session-1");

    // Attaching is asked for once; the new page is still held, as its load lets it go.
    const std::size_t before = f.channel.commands().size();
    const std::optional<PageTarget> next = f.supply.open("file:///tmp/b.html", kNever);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->contextId(), "context-2");
    EXPECT_EQ(methodsOf(f.sentSince(before)),
              (std::vector<std::string>{"Target.createBrowserContext", "Target.createTarget",
                                        "Page.enable"}));
    EXPECT_EQ(f.sentSince(before)[2]["sessionId"], "session-2");
    EXPECT_TRUE(f.sentNamed("Runtime.runIfWaitingForDebugger").empty());
    EXPECT_FALSE(f.connection.broken());
  }
}

// The sessions that the commands `method` name at `where`, sorted; null where they name none.
std::vector<json> sessionsNamed(const Fixture& f, const std::string& method, const char* where) {
  std::vector<json> sessions;
  for (const json& command : f.sentNamed(method)) {
    sessions.push_back(command.value(json::json_pointer(where), json()));
  }
  std::sort(sessions.begin(), sessions.end());
  return sessions;
}

TEST(PageSupplyTest, OtherPagesAttachedMeanwhileRunOnUnwatched) {
  Fixture f;
  f.browser.alsoSent = {attached("popup", "session-popup", true),
                        attached("running", "session-running", false)};

  const std::optional<PageTarget> page = f.supply.open("file:///tmp/a.html", kNever);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->targetId(), "page-1");
  const std::vector<json> others{"session-popup", "session-running"};
  EXPECT_EQ(sessionsNamed(f, "Runtime.runIfWaitingForDebugger", "/sessionId"), others);
  EXPECT_EQ(sessionsNamed(f, "Target.detachFromTarget", "/params/sessionId"), others);
  // Detaching is the browser's business, not the page's.
  EXPECT_EQ(sessionsNamed(f, "Target.detachFromTarget", "/sessionId"),
            (std::vector<json>{nullptr, nullptr}));
}

TEST(PageSupplyTest, HeldRequestsAreAnsweredWhileAPageOpens) {
  Fixture f;
  f.browser.alsoSent = {{{"method", kRequestHeld},
                         {"params", {{"requestId", "r1"}, {"request", {{"url", "http://x/"}}}}},
                         {"sessionId", "session-other"}}};
  ASSERT_TRUE(f.supply.open("file:///tmp/a.html", kNever));
  std::vector<json> failed = f.sentNamed("Fetch.failRequest");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0]["sessionId"], "session-other");
}

TEST(PageSupplyTest, ReleaseDisposesOfThePagesContextWithoutWaiting) {
  Fixture f;
  std::optional<PageTarget> page = f.supply.open("file:///tmp/a.html", kNever);
  ASSERT_TRUE(page);
  const std::size_t before = f.channel.commands().size();
  const std::size_t unread = f.channel.unread();

  f.supply.release(std::move(*page), kNever);
  std::vector<json> sent = f.sentSince(before);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0]["method"], "Target.disposeBrowserContext");
  EXPECT_EQ(sent[0]["params"], json({{"browserContextId", "context-1"}}));
  EXPECT_FALSE(sent[0].contains("sessionId"));
  EXPECT_EQ(f.channel.unread(), unread + 1);
}

TEST(PageSupplyTest, APreparedContextIsTakenByTheNextPage) {
  Fixture f;
  std::optional<PageTarget> page = f.supply.open("file:///tmp/a.html", kNever);
  ASSERT_TRUE(page);
  f.supply.release(std::move(*page), kNever);
  f.supply.prepareNext(kNever);
  f.supply.prepareNext(kNever);  // one on its way already
  EXPECT_EQ(f.sentNamed("Target.createBrowserContext").size(), 2u);

  const std::optional<PageTarget> next = f.supply.open("file:///tmp/b.html", kNever);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->contextId(), "context-2");
  EXPECT_EQ(f.sentNamed("Target.createBrowserContext").size(), 2u);
  EXPECT_EQ(f.sentNamed("Target.createTarget").back()["params"]["browserContextId"], "context-2");

  // Taken: the page after asks again.
  ASSERT_TRUE(f.supply.open("file:///tmp/c.html", kNever));
  EXPECT_EQ(f.sentNamed("Target.createBrowserContext").size(), 3u);
}

TEST(PageSupplyTest, ABrowserOfOnePageShowsItInItsOwnContext) {
  Fixture f(PageSupply::Lifetime::kOnePage);
  f.supply.prepareNext(kNever);
  EXPECT_TRUE(f.channel.sent.empty());

  std::optional<PageTarget> page = f.supply.open("file:///tmp/a.html", kNever);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->contextId(), "");
  EXPECT_EQ(
      methodsOf(f.channel.commands()),
      (std::vector<std::string>{"Target.setAutoAttach", "Target.createTarget", "Page.enable"}));
  EXPECT_EQ(f.sentNamed("Target.createTarget")[0]["params"], json({{"url", "file:///tmp/a.html"}}));

  const std::size_t before = f.channel.sent.size();
  f.supply.release(std::move(*page), kNever);
  EXPECT_EQ(f.channel.sent.size(), before);
}

TEST(PageSupplyTest, ARefusedPageGivesItsContextBack) {
  Fixture f;
  f.browser.refusePages = true;
  EXPECT_FALSE(f.supply.open("file:///tmp/a.html", kNever));
  std::vector<json> disposed = f.sentNamed("Target.disposeBrowserContext");
  ASSERT_EQ(disposed.size(), 1u);
  EXPECT_EQ(disposed[0]["params"]["browserContextId"], "context-1");
  EXPECT_FALSE(f.connection.broken());

  f.browser.refusePages = false;
  EXPECT_TRUE(f.supply.open("file:///tmp/a.html", kNever));
}

TEST(PageSupplyTest, ABrowserGoneBeforeThePageAttachedGivesNoPage) {
  Fixture f;
  f.channel.react = [](ReactiveChannel& channel, const json& command) {
    if (command["method"] == "Target.createTarget") {
      channel.answer(command, {{"targetId", "page-1"}});
    } else {
      channel.answer(command, {{"browserContextId", "context-1"}});
    }
  };
  EXPECT_FALSE(f.supply.open("file:///tmp/a.html", kNever));
  EXPECT_TRUE(f.connection.broken());
}

TEST(PageSupplyTest, EventsAreKeptAgainOnceTheSupplyIsGone) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  { PageSupply supply(connection, PageSupply::Lifetime::kManyPages); }
  channel.queue(attached("page-1", "session-1", true));
  channel.queue({{"method", kRequestHeld}, {"params", json::object()}});
  EXPECT_TRUE(connection.waitForEvent("Target.attachedToTarget", "", kNever));
  EXPECT_TRUE(connection.waitForEvent(kRequestHeld, "", kNever));
  EXPECT_TRUE(channel.sent.empty());
}

LayoutKey layoutKey() { return {"file:///tmp/a.html", 0x1234, 640, 480, 16384, false}; }

PageTarget pageIn(ProtocolConnection& connection, const std::string& number) {
  return PageTarget(connection, "page-" + number, "context-" + number, "session-" + number);
}

TEST(LaidOutPageTest, ServesOneCallWithTheSameLayout) {
  Fixture f;
  f.supply.keepLaidOut(pageIn(f.connection, "1"), layoutKey(), 2000, kNever);
  const auto taken = f.supply.takeLaidOut(layoutKey(), kNever);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->first.targetId(), "page-1");
  EXPECT_EQ(taken->second, 2000);
  EXPECT_EQ(f.supply.takeLaidOut(layoutKey(), kNever), std::nullopt);
  EXPECT_TRUE(f.channel.sent.empty());
}

TEST(LaidOutPageTest, AnyOtherLayoutReleasesTheKeptPage) {
  const auto changes = std::vector<std::function<void(LayoutKey&)>>{
      [](LayoutKey& key) { key.url += "?"; }, [](LayoutKey& key) { ++key.contentHash; },
      [](LayoutKey& key) { ++key.width; },    [](LayoutKey& key) { ++key.height; },
      [](LayoutKey& key) { ++key.tallest; },  [](LayoutKey& key) { key.blockNetwork = true; },
  };
  for (std::size_t i = 0; i < changes.size(); ++i) {
    SCOPED_TRACE("field " + std::to_string(i));
    Fixture f;
    f.supply.keepLaidOut(pageIn(f.connection, "1"), layoutKey(), 2000, kNever);
    LayoutKey other = layoutKey();
    changes[i](other);
    EXPECT_EQ(f.supply.takeLaidOut(other, kNever), std::nullopt);
    EXPECT_EQ(f.supply.takeLaidOut(layoutKey(), kNever), std::nullopt);
    ASSERT_EQ(methodsOf(f.channel.commands()),
              std::vector<std::string>{"Target.disposeBrowserContext"});
    EXPECT_EQ(f.channel.commands()[0]["params"]["browserContextId"], "context-1");
  }
}

TEST(LaidOutPageTest, AKeptPageMakesWayForTheNext) {
  Fixture f;
  LayoutKey taller = layoutKey();
  taller.height = 600;
  f.supply.keepLaidOut(pageIn(f.connection, "1"), layoutKey(), 2000, kNever);
  f.supply.keepLaidOut(pageIn(f.connection, "2"), taller, 2100, kNever);
  ASSERT_EQ(f.sentNamed("Target.disposeBrowserContext").size(), 1u);
  EXPECT_EQ(f.sentNamed("Target.disposeBrowserContext")[0]["params"]["browserContextId"],
            "context-1");
  const auto taken = f.supply.takeLaidOut(taller, kNever);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->first.targetId(), "page-2");
  EXPECT_EQ(taken->second, 2100);
}

}  // namespace
}  // namespace ondrel::devtools
