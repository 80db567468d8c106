// The fake browser's side of the DevTools protocol, spoken to in the test's own process: the ids
// it numbers and refuses once gone, each page's own state, requests held for the client,
// dialogs and renderers that crash or hang. Then the plug-in's connection and pages against it:
// a command sent with the wrong page's session, or with a session whose context was disposed of,
// is refused, so a test of the engine that mixed them up would fail.

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "capture/devtools/base64.h"
#include "capture/staging/file_url.h"
#include "capture/devtools/page_supply.h"
#include "tests/fake_browser/fake_devtools_channel.h"
#include "tests/fake_browser/page_directions.h"
#include "tests/fake_browser/request_patterns.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

using nlohmann::json;

// Commands straight to the fake, and what it sends back for each.
class FakeDevToolsTest : public ::testing::Test {
 protected:
  // Sends a command; the messages the fake sent for it, its answer among them.
  std::vector<json> send(const std::string& method, json params = json::object(),
                         const std::string& sessionId = "") {
    json command = {{"id", ++lastId_}, {"method", method}, {"params", std::move(params)}};
    if (!sessionId.empty()) command["sessionId"] = sessionId;
    const std::size_t before = heard_.size();
    exit_ = browser_.take(command);
    return {heard_.begin() + std::ptrdiff_t(before), heard_.end()};
  }

  // The answer to the command just sent, or null when it was not answered.
  json answerOf(const std::vector<json>& messages) const {
    for (const json& message : messages) {
      if (message.value("id", 0) == lastId_) return message;
    }
    return nullptr;
  }

  json result(const std::string& method, json params = json::object(),
              const std::string& sessionId = "") {
    const json answer = answerOf(send(method, std::move(params), sessionId));
    EXPECT_TRUE(answer.contains("result")) << method << ": " << answer;
    return answer.value("result", json::object());
  }

  // Whether the command was refused with an error answer that names its number.
  ::testing::AssertionResult refused(const std::string& method, json params = json::object(),
                                     const std::string& sessionId = "") {
    const json answer = answerOf(send(method, std::move(params), sessionId));
    if (answer.is_object() && answer.contains("error") && !answer.contains("result")) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure() << method << " was answered " << answer;
  }

  std::string newContext() { return result("Target.createBrowserContext")["browserContextId"]; }

  // A blank page in `contextId` (the browser's own when empty), attached: its target and session.
  std::pair<std::string, std::string> newPage(const std::string& contextId = "") {
    json params = {{"url", "about:blank"}};
    if (!contextId.empty()) params["browserContextId"] = contextId;
    const std::string target = result("Target.createTarget", params)["targetId"];
    const std::string session =
        result("Target.attachToTarget", {{"targetId", target}, {"flatten", true}})["sessionId"];
    return {target, session};
  }

  std::string pageFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = scratch_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return *ondrel::fileUrl(path.u16string());
  }

  // The methods of the events among `messages`.
  static std::vector<std::string> events(const std::vector<json>& messages) {
    std::vector<std::string> methods;
    for (const json& message : messages) {
      if (message.contains("method")) methods.push_back(message["method"]);
    }
    return methods;
  }

  ScratchFolder scratch_;
  std::vector<json> heard_;
  FakeDevTools browser_{"", 0,
                        [this](std::string message) { heard_.push_back(json::parse(message)); }};
  int lastId_ = 0;
  std::optional<int> exit_;
};

TEST_F(FakeDevToolsTest, NumbersItsContextsPagesAndSessions) {
  EXPECT_EQ(newContext(), "fake-context-1");
  EXPECT_EQ(newContext(), "fake-context-2");
  EXPECT_EQ(newPage("fake-context-2"),
            (std::pair<std::string, std::string>{"fake-target-1", "fake-session-1"}));
  EXPECT_EQ(newPage(), (std::pair<std::string, std::string>{"fake-target-2", "fake-session-2"}));
  // A second session to the same page is a session of its own.
  EXPECT_EQ(result("Target.attachToTarget", {{"targetId", "fake-target-1"}, {"flatten", true}}),
            json({{"sessionId", "fake-session-3"}}));
  const json targets = result("Target.getTargets")["targetInfos"];
  ASSERT_EQ(targets.size(), 2u);
  EXPECT_EQ(targets[0]["browserContextId"], "fake-context-2");
  EXPECT_EQ(targets[1]["browserContextId"], "");
  EXPECT_EQ(result("Browser.getVersion")["product"], "FakeBrowser/1.0");
}

TEST_F(FakeDevToolsTest, RefusesIdsItNeverMade) {
  EXPECT_TRUE(refused("Target.disposeBrowserContext", {{"browserContextId", "fake-context-1"}}));
  EXPECT_TRUE(refused("Target.disposeBrowserContext", {{"browserContextId", ""}}));
  EXPECT_TRUE(refused("Target.disposeBrowserContext"));
  EXPECT_TRUE(refused("Target.createTarget",
                      {{"url", "about:blank"}, {"browserContextId", "fake-context-1"}}));
  EXPECT_TRUE(refused("Target.attachToTarget", {{"targetId", "fake-target-1"}, {"flatten", true}}));
  EXPECT_TRUE(refused("Page.enable", json::object(), "fake-session-1"));
  EXPECT_TRUE(
      refused("Fetch.continueRequest", {{"requestId", "fake-request-1"}}, newPage().second));
  EXPECT_TRUE(refused("Page.handleJavaScriptDialog", {{"accept", true}}, "fake-session-1"));
  EXPECT_TRUE(refused("Browser.noSuchMethod"));
  // None of it ends the fake: it goes on answering.
  EXPECT_EQ(exit_, std::nullopt);
  EXPECT_EQ(newContext(), "fake-context-1");
}

TEST_F(FakeDevToolsTest, ADisposedContextTakesItsPagesAndSessionsWithIt) {
  const std::string gone = newContext();
  const auto [goneTarget, goneSession] = newPage(gone);
  const std::string kept = newContext();
  const auto [keptTarget, keptSession] = newPage(kept);

  const std::vector<json> disposal =
      send("Target.disposeBrowserContext", {{"browserContextId", gone}});
  ASSERT_TRUE(answerOf(disposal).contains("result"));
  EXPECT_EQ(disposal[0],
            json({{"method", "Target.detachedFromTarget"},
                  {"params", {{"sessionId", goneSession}, {"targetId", goneTarget}}}}));

  EXPECT_TRUE(refused("Target.disposeBrowserContext", {{"browserContextId", gone}}));
  EXPECT_TRUE(refused("Target.createTarget", {{"url", "about:blank"}, {"browserContextId", gone}}));
  EXPECT_TRUE(refused("Target.attachToTarget", {{"targetId", goneTarget}, {"flatten", true}}));
  EXPECT_TRUE(refused("Page.enable", json::object(), goneSession));
  EXPECT_TRUE(
      refused("Emulation.setDeviceMetricsOverride", {{"width", 8}, {"height", 8}}, goneSession));
  EXPECT_EQ(browser_.openTargets(), std::vector<std::string>{keptTarget});
  EXPECT_EQ(result("Page.enable", json::object(), keptSession), json::object());
}

TEST_F(FakeDevToolsTest, EachPageShowsItsOwnDocumentAtItsOwnSize) {
  const auto [first, firstSession] = newPage(newContext());
  const auto [second, secondSession] = newPage(newContext());
  const std::string firstUrl = pageFile("first.html", "seed:5");
  const std::string secondUrl = pageFile("second.html", "seed:9 page-height: 700.5");
  for (const auto& [session, url, width, height] :
       {std::tuple{firstSession, firstUrl, 20, 10}, std::tuple{secondSession, secondUrl, 30, 12}}) {
    result("Page.enable", json::object(), session);
    result("Emulation.setDeviceMetricsOverride", {{"width", width}, {"height", height}}, session);
    const std::vector<json> navigation = send("Page.navigate", {{"url", url}}, session);
    EXPECT_EQ(answerOf(navigation)["result"]["frameId"], "fake-frame");
    EXPECT_EQ(events(navigation), std::vector<std::string>{"Page.loadEventFired"});
    EXPECT_EQ(navigation.back()["sessionId"], session);
  }
  const auto png = [&](const std::string& session) {
    const std::optional<std::vector<std::uint8_t>> bytes = devtools::decodeBase64(
        result("Page.captureScreenshot", {{"format", "png"}}, session)["data"].get<std::string>());
    return bytes ? std::string(bytes->begin(), bytes->end()) : "";
  };
  EXPECT_EQ(png(firstSession), encodePng(patternImage(20, 10, 5)));
  EXPECT_EQ(png(secondSession), encodePng(patternImage(30, 12, 9)));
  EXPECT_EQ(
      result("Page.getLayoutMetrics", json::object(), firstSession)["cssContentSize"]["height"],
      10);
  EXPECT_EQ(
      result("Page.getLayoutMetrics", json::object(), secondSession)["cssContentSize"]["height"],
      700.5);
}

TEST_F(FakeDevToolsTest, OnlyAPageWithADocumentCanBeMeasuredOrPhotographed) {
  const auto [target, session] = newPage(newContext());
  EXPECT_TRUE(refused("Page.captureScreenshot", {{"format", "png"}}, session));
  EXPECT_TRUE(refused("Page.getLayoutMetrics", json::object(), session));
  const std::vector<json> missing =
      send("Page.navigate", {{"url", pageFile("gone.html", "") + "-missing"}}, session);
  EXPECT_EQ(answerOf(missing)["result"]["errorText"], "net::ERR_FILE_NOT_FOUND");
  EXPECT_TRUE(refused("Page.captureScreenshot", {{"format", "png"}}, session));
  // Loaded, though its session never asked for page events: none comes.
  const std::vector<json> loaded =
      send("Page.navigate", {{"url", pageFile("a.html", "")}}, session);
  EXPECT_EQ(events(loaded), std::vector<std::string>());
  EXPECT_TRUE(
      answerOf(send("Page.captureScreenshot", {{"format", "png"}}, session)).contains("result"));
}

TEST_F(FakeDevToolsTest, HoldsThePagesRequestsForTheClientAsItsPatternsSay) {
  const auto [target, session] = newPage(newContext());
  result("Page.enable", json::object(), session);
  result("Fetch.enable", {{"patterns", {{{"urlPattern", "*"}}}}}, session);
  const std::string url =
      pageFile("held.html",
               "<link href=\"http://127.0.0.1:9/a.css\"> asks-for:http://127.0.0.1:9/a.css "
               "asks-for:file:///pictures/b.png");

  // The document's own request first; the navigation is answered once it goes on.
  std::vector<json> messages = send("Page.navigate", {{"url", url}}, session);
  const int navigation = lastId_;
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0]["method"], "Fetch.requestPaused");
  EXPECT_EQ(messages[0]["sessionId"], session);
  EXPECT_EQ(messages[0]["params"]["request"]["url"], url);
  EXPECT_EQ(messages[0]["params"]["resourceType"], "Document");
  const std::string document = messages[0]["params"]["requestId"];
  // Held requests are answered in their page's session only, and once.
  EXPECT_TRUE(refused("Fetch.continueRequest", {{"requestId", document}}, newPage().second));

  messages = send("Fetch.continueRequest", {{"requestId", document}}, session);
  ASSERT_EQ(messages.size(), 3u);
  EXPECT_EQ(messages[0].value("id", 0), navigation);
  EXPECT_EQ(messages[1]["params"]["request"]["url"], "http://127.0.0.1:9/a.css");
  EXPECT_EQ(messages[1]["params"]["resourceType"], "Stylesheet");
  EXPECT_EQ(messages[2].value("id", 0), lastId_);
  EXPECT_TRUE(refused("Fetch.continueRequest", {{"requestId", document}}, session));

  messages =
      send("Fetch.failRequest",
           {{"requestId", messages[1]["params"]["requestId"]}, {"errorReason", "BlockedByClient"}},
           session);
  ASSERT_EQ(events(messages), std::vector<std::string>{"Fetch.requestPaused"});
  EXPECT_EQ(messages[0]["params"]["request"]["url"], "file:///pictures/b.png");
  // The load event waits for the last of them.
  messages =
      send("Fetch.continueRequest", {{"requestId", messages[0]["params"]["requestId"]}}, session);
  EXPECT_EQ(events(messages), std::vector<std::string>{"Page.loadEventFired"});
}

TEST_F(FakeDevToolsTest, ABlockedDocumentFailsItsNavigation) {
  const auto [target, session] = newPage(newContext());
  result("Page.enable", json::object(), session);
  result("Fetch.enable", json::object(), session);
  std::vector<json> messages = send("Page.navigate", {{"url", pageFile("a.html", "")}}, session);
  const int navigation = lastId_;
  messages =
      send("Fetch.failRequest",
           {{"requestId", messages[0]["params"]["requestId"]}, {"errorReason", "BlockedByClient"}},
           session);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[0].value("id", 0), navigation);
  EXPECT_EQ(messages[0]["result"]["errorText"], "net::ERR_BLOCKED_BY_CLIENT");
}

TEST_F(FakeDevToolsTest, RequestsOutsideThePatternsAreNotHeld) {
  const auto [target, session] = newPage(newContext());
  result("Page.enable", json::object(), session);
  result("Fetch.enable", {{"patterns", {{{"urlPattern", "http*"}}}}}, session);
  const std::vector<json> messages =
      send("Page.navigate",
           {{"url", pageFile("a.html", "asks-for:data:,x asks-for:https://b/c.js")}}, session);
  ASSERT_EQ(events(messages), std::vector<std::string>{"Fetch.requestPaused"});
  EXPECT_EQ(messages[1]["params"]["request"]["url"], "https://b/c.js");
  EXPECT_EQ(messages[1]["params"]["resourceType"], "Script");
}

TEST_F(FakeDevToolsTest, ADialogHoldsTheLoadUntilItIsAnswered) {
  for (const char* kind : {"alert", "confirm", "prompt", "beforeunload"}) {
    SCOPED_TRACE(kind);
    const auto [target, session] = newPage(newContext());
    result("Page.enable", json::object(), session);
    std::vector<json> messages =
        send("Page.navigate", {{"url", pageFile("dialog.html", std::string("dialog:") + kind)}},
             session);
    ASSERT_EQ(events(messages), std::vector<std::string>{"Page.javascriptDialogOpening"});
    EXPECT_EQ(messages[1]["params"]["type"], kind);
    EXPECT_EQ(messages[1]["sessionId"], session);
    EXPECT_TRUE(refused("Page.handleJavaScriptDialog", json::object(), session));
    messages = send("Page.handleJavaScriptDialog", {{"accept", true}, {"promptText", ""}}, session);
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_TRUE(answerOf(messages).contains("result"));
    EXPECT_EQ(messages[1]["method"], "Page.loadEventFired");
    EXPECT_TRUE(refused("Page.handleJavaScriptDialog", {{"accept", true}}, session));
  }
}

TEST_F(FakeDevToolsTest, ARendererThatCrashesIsReportedInItsSession) {
  const auto [target, session] = newPage(newContext());
  result("Page.enable", json::object(), session);
  const std::vector<json> messages =
      send("Page.navigate", {{"url", pageFile("a.html", "renderer:crashes")}}, session);
  ASSERT_EQ(events(messages), std::vector<std::string>{"Inspector.targetCrashed"});
  EXPECT_EQ(messages[1]["sessionId"], session);
  EXPECT_TRUE(refused("Page.captureScreenshot", json::object(), session));
  // The browser itself goes on.
  EXPECT_EQ(newContext(), "fake-context-2");
}

TEST_F(FakeDevToolsTest, ADetachingPageTakesItsSessionWithIt) {
  const auto [target, session] = newPage(newContext());
  result("Page.enable", json::object(), session);
  const std::vector<json> messages =
      send("Page.navigate", {{"url", pageFile("a.html", "renderer:detaches")}}, session);
  ASSERT_EQ(messages.size(), 2u);
  EXPECT_EQ(messages[1], json({{"method", "Target.detachedFromTarget"},
                               {"params", {{"sessionId", session}, {"targetId", target}}}}));
  EXPECT_TRUE(refused("Page.captureScreenshot", json::object(), session));
}

TEST_F(FakeDevToolsTest, AHungRendererAnswersNothingUntilItsContextGoes) {
  for (const char* when : {"before", "after"}) {
    SCOPED_TRACE(when);
    const std::string context = newContext();
    const auto [target, session] = newPage(context);
    result("Page.enable", json::object(), session);
    const std::vector<json> messages = send(
        "Page.navigate",
        {{"url", pageFile("a.html", std::string("renderer:hangs-") + when + "-load")}}, session);
    EXPECT_TRUE(answerOf(messages).contains("result"));
    EXPECT_EQ(events(messages), std::string_view(when) == "after"
                                    ? std::vector<std::string>{"Page.loadEventFired"}
                                    : std::vector<std::string>());
    EXPECT_EQ(send("Page.captureScreenshot", json::object(), session), std::vector<json>());
    EXPECT_EQ(result("Browser.getVersion")["protocolVersion"], "1.3");
    EXPECT_EQ(events(send("Target.disposeBrowserContext", {{"browserContextId", context}})),
              std::vector<std::string>{"Target.detachedFromTarget"});
    EXPECT_TRUE(refused("Page.captureScreenshot", json::object(), session));
  }
}

TEST_F(FakeDevToolsTest, ModesThatEndTheBrowser) {
  result("Browser.close");
  EXPECT_EQ(exit_, 0);
  FakeDevTools crashing("crash-at-second-page", 0, [](std::string) {});
  const json navigate = {{"id", 1}, {"method", "Page.navigate"}, {"sessionId", "fake-session-9"}};
  EXPECT_EQ(crashing.take(navigate), std::nullopt);
  EXPECT_EQ(crashing.take(navigate), 5);
}

TEST(RequestPatternsTest, WildcardsMatchTheWholeUrl) {
  const std::pair<const char*, const char*> matching[] = {
      {"*", ""},          {"*", "http://a/b"}, {"http*", "http://a/b"},
      {"*.css", "x.css"}, {"a?c", "abc"},      {"a*b*c", "aXbYbZc"},
      {"\\*", "*"},       {"a\\?", "a?"},      {"**", "anything"}};
  for (const auto& [pattern, text] : matching) {
    EXPECT_TRUE(matchesUrlPattern(pattern, text)) << pattern << " " << text;
  }
  const std::pair<const char*, const char*> other[] = {
      {"http*", "file:///a"}, {"*.css", "x.css?v=1"}, {"a?c", "ac"},
      {"\\*", "x"},           {"a\\?", "ab"},         {"", "x"},
      {"abc", "ab"}};
  for (const auto& [pattern, text] : other) {
    EXPECT_FALSE(matchesUrlPattern(pattern, text)) << pattern << " " << text;
  }
}

TEST(RequestPatternsTest, StageAndTypeNarrowWhatIsHeld) {
  EXPECT_TRUE(holdsBeforeSending(json::object(), "http://a/", "Document"));
  EXPECT_FALSE(holdsBeforeSending({{"patterns", json::array()}}, "http://a/", "Document"));
  EXPECT_TRUE(holdsBeforeSending({{"patterns", {json::object()}}}, "http://a/", "Image"));
  const json responses = {{"patterns", {{{"urlPattern", "*"}, {"requestStage", "Response"}}}}};
  EXPECT_FALSE(holdsBeforeSending(responses, "http://a/", "Document"));
  const json images = {{"patterns", {{{"resourceType", "Image"}}}}};
  EXPECT_TRUE(holdsBeforeSending(images, "http://a/b.png", "Image"));
  EXPECT_FALSE(holdsBeforeSending(images, "http://a/b.css", "Stylesheet"));
  EXPECT_FALSE(holdsBeforeSending({{"patterns", {{{"urlPattern", 5}}}}}, "http://a/", "Document"));
}

TEST(PageDirectionsTest, MarkersAnywhereInThePage) {
  const PageDirections directions = readPageDirections(
      "<p>asks-for:http://a/b.css</p><img src=\"x\" alt='asks-for:file:///c.png'> dialog:prompt "
      "renderer:hangs-after-load page-height: 12.5");
  EXPECT_EQ(directions.resources, (std::vector<std::string>{"http://a/b.css", "file:///c.png"}));
  EXPECT_EQ(directions.dialog, "prompt");
  EXPECT_EQ(directions.fate, RendererFate::kHangsAfterLoad);
  EXPECT_EQ(directions.contentHeight, 12.5);
  const PageDirections none = readPageDirections("seed:4 an ordinary page");
  EXPECT_TRUE(none.resources.empty());
  EXPECT_EQ(none.dialog, std::nullopt);
  EXPECT_EQ(none.fate, RendererFate::kRuns);
  EXPECT_EQ(none.contentHeight, std::nullopt);
}

// The plug-in's connection and page supply against the fake. The fake names each page's session
// only in its answer to Target.attachToTarget; a mix-up needs it.
class MixedUpSessionsTest : public ::testing::Test {
 protected:
  std::string sessionOf(const std::string& targetId) const {
    for (const json& command : channel.commandsNamed("Target.attachToTarget")) {
      if (command["params"]["targetId"] != targetId) continue;
      for (const json& message : channel.heard()) {
        if (message.value("id", json()) == command["id"]) return message["result"]["sessionId"];
      }
    }
    return {};
  }

  std::string pageFile(const std::string& name, const std::string& text) {
    const std::filesystem::path path = scratch_.path() / name;
    std::ofstream(path, std::ios::binary) << text;
    return *ondrel::fileUrl(path.u16string());
  }

  // A page of the supply laid out at `width` x `height` with a document of seed `seed`.
  std::optional<devtools::PageLease> shownPage(int width, int height, int seed) {
    std::optional<devtools::PageLease> page = supply.open(kNever);
    if (!page || !(*page)->setViewport(width, height, 1.0, kNever) ||
        !(*page)->navigate(
            pageFile("page" + std::to_string(seed) + ".html", "seed:" + std::to_string(seed)),
            kNever)) {
      return std::nullopt;
    }
    return page;
  }

  const platform::Deadline kNever = platform::Deadline::never();
  ScratchFolder scratch_;
  FakeDevToolsChannel channel;
  devtools::ProtocolConnection connection{channel};
  devtools::PageSupply supply{connection, devtools::PageSupply::Lifetime::kManyPages};
};

std::string pngOf(const std::optional<std::vector<std::uint8_t>>& bytes) {
  return bytes ? std::string(bytes->begin(), bytes->end()) : "";
}

TEST_F(MixedUpSessionsTest, ACommandForOnePageSentWithAnothersSessionFails) {
  std::optional<devtools::PageLease> shown = shownPage(20, 10, 5);
  std::optional<devtools::PageLease> blank = supply.open(kNever);
  ASSERT_TRUE(shown && blank);
  const std::string blankSession = sessionOf(blank->targetId());
  ASSERT_NE(blankSession, sessionOf(shown->targetId()));

  // The picture of the page that was shown, asked for in the blank one's session.
  EXPECT_EQ(connection.call("Page.captureScreenshot", {{"format", "png"}}, blankSession, kNever),
            std::nullopt);
  EXPECT_EQ(connection.call("Page.getLayoutMetrics", json::object(), blankSession, kNever),
            std::nullopt);
  EXPECT_FALSE(connection.broken());
  EXPECT_EQ(pngOf((*shown)->screenshot(kNever)), encodePng(patternImage(20, 10, 5)));

  // Once both show a document, each session shows its own page and no other.
  blank.reset();
  std::optional<devtools::PageLease> other = shownPage(30, 12, 9);
  ASSERT_TRUE(other);
  EXPECT_EQ(pngOf((*other)->screenshot(kNever)), encodePng(patternImage(30, 12, 9)));
  EXPECT_EQ(pngOf((*shown)->screenshot(kNever)), encodePng(patternImage(20, 10, 5)));
}

TEST_F(MixedUpSessionsTest, ADisposedContextsSessionIsRefused) {
  std::optional<devtools::PageLease> page = shownPage(20, 10, 5);
  ASSERT_TRUE(page);
  const std::string target = page->targetId();
  const std::string context = page->contextId();
  const std::string session = sessionOf(target);
  page.reset();  // disposes of the context

  EXPECT_EQ(connection.call("Page.captureScreenshot", {{"format", "png"}}, session, kNever),
            std::nullopt);
  EXPECT_EQ(connection.call("Page.navigate", {{"url", "file:///a.html"}}, session, kNever),
            std::nullopt);
  EXPECT_EQ(connection.call("Target.attachToTarget", {{"targetId", target}, {"flatten", true}}, {},
                            kNever),
            std::nullopt);
  EXPECT_EQ(connection.call("Target.createTarget",
                            {{"url", "about:blank"}, {"browserContextId", context}}, {}, kNever),
            std::nullopt);
  EXPECT_EQ(
      connection.call("Target.disposeBrowserContext", {{"browserContextId", context}}, {}, kNever),
      std::nullopt);
  EXPECT_FALSE(connection.broken());

  // The next page is a new one in a new context, and shows its own document.
  std::optional<devtools::PageLease> next = shownPage(8, 4, 7);
  ASSERT_TRUE(next);
  EXPECT_NE(next->targetId(), target);
  EXPECT_NE(next->contextId(), context);
  EXPECT_EQ(pngOf((*next)->screenshot(kNever)), encodePng(patternImage(8, 4, 7)));
}

}  // namespace
}  // namespace ondrel::test
