// Where a browser's pages come from, against a browser played in memory: the commands that open a
// blank page, the contexts made, prepared and disposed of, and the measured page kept for the
// picture that follows.

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

// A browser that makes the contexts and pages it is asked for: page N is attached as session N.
struct PlayedBrowser {
  bool refusePages = false;
  // Sent before the answer to the next createTarget: requests of other pages.
  std::vector<json> alsoSent;
  int contexts = 0;
  int pages = 0;

  void operator()(ReactiveChannel& channel, const json& command) {
    const std::string method = command["method"];
    if (method == "Target.createBrowserContext") {
      channel.answer(command, {{"browserContextId", "context-" + std::to_string(++contexts)}});
    } else if (method == "Target.createTarget") {
      createTarget(channel, command);
    } else if (method == "Target.attachToTarget") {
      const std::string target = command["params"]["targetId"];
      channel.answer(command, {{"sessionId", "session-" + target.substr(5)}});
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
    channel.answer(command, {{"targetId", "page-" + std::to_string(++pages)}});
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

TEST(PageSupplyTest, OpensEachPageBlankInAContextOfItsOwn) {
  Fixture f;
  const std::optional<PageLease> page = f.supply.open(kNever);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->targetId(), "page-1");
  EXPECT_EQ(page->contextId(), "context-1");
  const std::vector<json> sent = f.channel.commands();
  ASSERT_EQ(methodsOf(sent),
            (std::vector<std::string>{"Target.createBrowserContext", "Target.createTarget",
                                      "Target.attachToTarget", "Page.enable"}));
  EXPECT_EQ(sent[1]["params"], json({{"url", "about:blank"}, {"browserContextId", "context-1"}}));
  EXPECT_EQ(sent[2]["params"], json({{"targetId", "page-1"}, {"flatten", true}}));
  EXPECT_EQ(sent[3]["sessionId"], "session-1");

  const std::optional<PageLease> next = f.supply.open(kNever);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->contextId(), "context-2");
  EXPECT_FALSE(f.connection.broken());
}

TEST(PageSupplyTest, HeldRequestsAreAnsweredWhileAPageOpens) {
  Fixture f;
  f.browser.alsoSent = {{{"method", kRequestHeld},
                         {"params", {{"requestId", "r1"}, {"request", {{"url", "http://x/"}}}}},
                         {"sessionId", "session-other"}}};
  ASSERT_TRUE(f.supply.open(kNever));
  std::vector<json> failed = f.sentNamed("Fetch.failRequest");
  ASSERT_EQ(failed.size(), 1u);
  EXPECT_EQ(failed[0]["sessionId"], "session-other");
}

TEST(PageSupplyTest, ALeaseThatGoesDisposesOfThePagesContextWithoutWaiting) {
  Fixture f;
  std::optional<PageLease> page = f.supply.open(kNever);
  ASSERT_TRUE(page);
  const std::size_t before = f.channel.commands().size();
  const std::size_t unread = f.channel.unread();

  page.reset();
  std::vector<json> sent = f.sentSince(before);
  ASSERT_EQ(sent.size(), 1u);
  EXPECT_EQ(sent[0]["method"], "Target.disposeBrowserContext");
  EXPECT_EQ(sent[0]["params"], json({{"browserContextId", "context-1"}}));
  EXPECT_FALSE(sent[0].contains("sessionId"));
  EXPECT_EQ(f.channel.unread(), unread + 1);
}

TEST(PageSupplyTest, APreparedPageIsTakenByTheNextPicture) {
  Fixture f;
  std::optional<PageLease> page = f.supply.open(kNever);
  ASSERT_TRUE(page);
  page.reset();
  f.supply.prepareNext(kNever);
  f.supply.prepareNext(kNever);  // one on its way already
  EXPECT_EQ(f.sentNamed("Target.createBrowserContext").size(), 2u);
  ASSERT_EQ(f.sentNamed("Target.createTarget").size(), 2u);
  EXPECT_EQ(f.sentNamed("Target.createTarget")[1]["params"]["browserContextId"], "context-2");
  // The page is asked for, not waited for: its answer is still unread.
  EXPECT_EQ(f.channel.unread(), 1u);

  const std::size_t before = f.channel.commands().size();
  const std::optional<PageLease> next = f.supply.open(kNever);
  ASSERT_TRUE(next);
  EXPECT_EQ(next->targetId(), "page-2");
  EXPECT_EQ(next->contextId(), "context-2");
  EXPECT_EQ(methodsOf(f.sentSince(before)),
            (std::vector<std::string>{"Target.attachToTarget", "Page.enable"}));

  // Taken: the page after asks again.
  ASSERT_TRUE(f.supply.open(kNever));
  EXPECT_EQ(f.sentNamed("Target.createBrowserContext").size(), 3u);
}

TEST(PageSupplyTest, ABrowserOfOnePageShowsItInItsOwnContext) {
  Fixture f(PageSupply::Lifetime::kOnePage);
  f.supply.prepareNext(kNever);
  EXPECT_TRUE(f.channel.sent.empty());

  std::optional<PageLease> page = f.supply.open(kNever);
  ASSERT_TRUE(page);
  EXPECT_EQ(page->contextId(), "");
  EXPECT_EQ(
      methodsOf(f.channel.commands()),
      (std::vector<std::string>{"Target.createTarget", "Target.attachToTarget", "Page.enable"}));
  EXPECT_EQ(f.sentNamed("Target.createTarget")[0]["params"], json({{"url", "about:blank"}}));

  const std::size_t before = f.channel.sent.size();
  page.reset();
  EXPECT_EQ(f.channel.sent.size(), before);
}

TEST(PageSupplyTest, ARefusedPageGivesItsContextBack) {
  Fixture f;
  f.browser.refusePages = true;
  EXPECT_FALSE(f.supply.open(kNever));
  std::vector<json> disposed = f.sentNamed("Target.disposeBrowserContext");
  ASSERT_EQ(disposed.size(), 1u);
  EXPECT_EQ(disposed[0]["params"]["browserContextId"], "context-1");
  EXPECT_FALSE(f.connection.broken());

  f.browser.refusePages = false;
  EXPECT_TRUE(f.supply.open(kNever));
}

TEST(PageSupplyTest, ABrowserGoneBeforeItAnsweredGivesNoPage) {
  Fixture f;
  f.channel.react = [](ReactiveChannel& channel, const json& command) {
    if (command["method"] == "Target.createBrowserContext") {
      channel.answer(command, {{"browserContextId", "context-1"}});
    }
  };
  EXPECT_FALSE(f.supply.open(kNever));
  EXPECT_TRUE(f.connection.broken());
}

TEST(PageSupplyTest, HeldRequestsAreKeptAgainOnceTheSupplyIsGone) {
  ReactiveChannel channel;
  ProtocolConnection connection(channel);
  { PageSupply supply(connection, PageSupply::Lifetime::kManyPages); }
  channel.queue({{"method", kRequestHeld}, {"params", json::object()}});
  EXPECT_TRUE(connection.waitForEvent(kRequestHeld, "", kNever));
  EXPECT_TRUE(channel.sent.empty());
}

LayoutKey layoutKey() { return {"file:///tmp/a.html", 0x1234, 640, 480, 16384, false}; }

// Keeps the supply's next page laid out for `key`; the Nth opened is in context N.
void keepNextPageLaidOut(Fixture& f, const LayoutKey& key, std::int32_t height) {
  std::optional<PageLease> page = f.supply.open(kNever);
  ASSERT_TRUE(page);
  f.supply.keepLaidOut(std::move(*page), key, height);
}

TEST(LaidOutPageTest, ServesOneCallWithTheSameLayout) {
  Fixture f;
  ASSERT_NO_FATAL_FAILURE(keepNextPageLaidOut(f, layoutKey(), 2000));
  EXPECT_TRUE(f.supply.holdsLaidOutPage());
  const std::size_t before = f.channel.commands().size();
  const auto taken = f.supply.takeLaidOut(layoutKey());
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->first.targetId(), "page-1");
  EXPECT_EQ(taken->second, 2000);
  EXPECT_FALSE(f.supply.holdsLaidOutPage());
  EXPECT_EQ(f.supply.takeLaidOut(layoutKey()), std::nullopt);
  EXPECT_TRUE(f.sentSince(before).empty());
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
    ASSERT_NO_FATAL_FAILURE(keepNextPageLaidOut(f, layoutKey(), 2000));
    const std::size_t before = f.channel.commands().size();
    LayoutKey other = layoutKey();
    changes[i](other);
    EXPECT_EQ(f.supply.takeLaidOut(other), std::nullopt);
    EXPECT_EQ(f.supply.takeLaidOut(layoutKey()), std::nullopt);
    const std::vector<json> sent = f.sentSince(before);
    ASSERT_EQ(methodsOf(sent), std::vector<std::string>{"Target.disposeBrowserContext"});
    EXPECT_EQ(sent[0]["params"]["browserContextId"], "context-1");
  }
}

TEST(LaidOutPageTest, AKeptPageMakesWayForTheNext) {
  Fixture f;
  LayoutKey taller = layoutKey();
  taller.height = 600;
  ASSERT_NO_FATAL_FAILURE(keepNextPageLaidOut(f, layoutKey(), 2000));
  ASSERT_NO_FATAL_FAILURE(keepNextPageLaidOut(f, taller, 2100));
  ASSERT_EQ(f.sentNamed("Target.disposeBrowserContext").size(), 1u);
  EXPECT_EQ(f.sentNamed("Target.disposeBrowserContext")[0]["params"]["browserContextId"],
            "context-1");
  const auto taken = f.supply.takeLaidOut(taller);
  ASSERT_TRUE(taken);
  EXPECT_EQ(taken->first.targetId(), "page-2");
  EXPECT_EQ(taken->second, 2100);
}

}  // namespace
}  // namespace ondrel::devtools
