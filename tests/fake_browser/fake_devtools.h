// The fake browser's side of the DevTools protocol, apart from any pipe so that tests can speak
// to it in their own process: it answers commands with the test pattern as screenshot, and is as
// strict as a browser could be about the ids it is given.
//
// Its browser contexts, pages and sessions are numbered ("fake-context-1", "fake-target-1",
// "fake-session-1", ...) and never reused. A command naming a context, page or session it never
// made, or one that is gone (a disposed context takes its pages and their sessions with it), is
// refused with an error answer. Each page keeps its own viewport, document and state, and only a
// page that has loaded a document can be measured or photographed, so commands for one page sent
// with another's session fail or show the other page.
//
// What a document asks for is read from its text (page_directions.h): resources, which are held
// for the client (Fetch.requestPaused) when Fetch is enabled for the page and its patterns say so;
// a dialog, which holds the load event until Page.handleJavaScriptDialog closes it; a renderer
// that crashes (Inspector.targetCrashed) or hangs (the page's session answers nothing more).
// Page events come only to sessions that enabled them.
#ifndef ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_H_
#define ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_H_

#include <nlohmann/json.hpp>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tests/fake_browser/page_directions.h"

namespace ondrel::test {

class FakeDevTools {
 public:
  // Where its messages go, one JSON text each.
  using Outbox = std::function<void(std::string message)>;

  // `mode` as in tests/support/fake_browser_env.h; `delayMilliseconds` is waited before each
  // screenshot.
  FakeDevTools(std::string_view mode, int delayMilliseconds, Outbox outbox);

  // Answers one command and sends the events it causes; the browser's exit code when it ends
  // with it.
  std::optional<int> take(const nlohmann::json& command);

  // The pages it has and has not closed, for tests.
  std::vector<std::string> openTargets() const;

 private:
  struct HeldRequest {
    std::string targetId;
    std::string sessionId;
    bool isDocument = false;
  };
  struct Page {
    std::string contextId;
    // Headless Chromium's window until a viewport is set.
    int width = 800;
    int height = 600;
    double deviceScale = 1;  // device pixels a CSS pixel
    std::string document;    // the text of the page it was last sent to
    PageDirections directions;
    std::optional<nlohmann::json> navigation;  // a Page.navigate answered once its request goes
    std::size_t nextResource = 0;              // how far the document's resources have come
    bool dialogShown = false;
    bool dialogOpen = false;
    bool loaded = false;
    bool crashed = false;
    bool hung = false;
    bool drawn = false;  // its drawing promise was awaited
  };
  struct Session {
    std::string targetId;
    bool pageEvents = false;
    std::optional<nlohmann::json> fetchPatterns;  // Fetch.enable's parameters, once given
  };

  // The answer of one command: its result, an error, or none yet.
  struct Answer {
    static Answer of(nlohmann::json result) { return {std::move(result), {}, 0, false}; }
    static Answer refused(std::string message) {
      return {std::nullopt, std::move(message), -32000};
    }
    static Answer unknown(const std::string& method) {
      return {std::nullopt, "'" + method + "' wasn't found", -32601};
    }
    // Answered later, or never.
    static Answer later() { return {std::nullopt, {}, 0, true}; }

    std::optional<nlohmann::json> result;
    std::string error;
    int code = 0;
    bool held = false;
  };

  Answer browserCommand(const std::string& method, const nlohmann::json& params);
  Answer pageCommand(const std::string& method, const nlohmann::json& params,
                     const std::string& sessionId, const nlohmann::json& command);

  Answer createBrowserContext();
  Answer disposeBrowserContext(const nlohmann::json& params);
  Answer createTarget(const nlohmann::json& params);
  Answer attachToTarget(const nlohmann::json& params);
  Answer navigate(Page& page, const std::string& sessionId, const nlohmann::json& command);
  Answer answerHeldRequest(const std::string& method, const nlohmann::json& params,
                           const std::string& sessionId);
  Answer closeDialog(Page& page, const std::string& sessionId, const nlohmann::json& command);
  Answer evaluate(Page& page, const nlohmann::json& params);
  Answer layoutMetrics(const Page& page) const;
  Answer screenshot(const Page& page);

  // Takes the page's load as far as it goes before something holds it: a request held for the
  // client, a dialog, a renderer that crashes or hangs.
  void advanceLoad(const std::string& targetId, const std::string& sessionId);
  void commitNavigation(Page& page, const std::string& sessionId);
  bool holdRequest(const std::string& targetId, const std::string& sessionId,
                   const std::string& url, std::string_view resourceType, bool isDocument);
  void closeTarget(const std::string& targetId);

  void reply(const nlohmann::json& command, const Answer& answer);
  void sendEvent(const std::string& method, nlohmann::json params,
                 const std::string& sessionId = "");

  std::string mode_;
  int delay_;
  Outbox outbox_;
  int navigations_ = 0;
  int contextsMade_ = 0;
  int targetsMade_ = 0;
  int sessionsMade_ = 0;
  int requestsHeld_ = 0;
  std::set<std::string> contexts_;  // the live ones
  std::map<std::string, Page> pages_;
  std::map<std::string, Session> sessions_;
  std::map<std::string, HeldRequest> heldRequests_;
};

// The path a file URL names, percent-escapes undone; a drive path keeps its letter
// (file:///C:/a -> C:/a), a host becomes a UNC name (file://host/a -> //host/a).
std::string pathOfFileUrl(std::string_view url);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_FAKE_DEVTOOLS_H_
