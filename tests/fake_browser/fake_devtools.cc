#include "tests/fake_browser/fake_devtools.h"

#include "tests/fake_browser/browser_command_line.h"

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/fake_browser/request_patterns.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

using nlohmann::json;

constexpr int kExitClosed = 0;
constexpr int kExitCrashed = 5;

std::string base64(std::string_view bytes) {
  static constexpr char kAlphabet[] =
      "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string text;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t count = std::min<std::size_t>(3, bytes.size() - i);
    std::uint32_t group = 0;
    for (std::size_t j = 0; j < 3; ++j) {
      group = group << 8 | (j < count ? std::uint8_t(bytes[i + j]) : 0);
    }
    for (std::size_t j = 0; j < 4; ++j) {
      text += j <= count ? kAlphabet[(group >> (18 - 6 * j)) & 0x3F] : '=';
    }
  }
  return text;
}

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::optional<std::string> readWhole(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string textIn(const json& object, const char* name) {
  if (!object.is_object()) return {};
  const auto field = object.find(name);
  return field != object.end() && field->is_string() ? field->get<std::string>() : "";
}

// The kind of resource Chromium would call a request for `url`, by its ending.
std::string_view resourceTypeOf(std::string_view url) {
  if (url.ends_with(".css")) return "Stylesheet";
  if (url.ends_with(".js")) return "Script";
  if (url.ends_with(".png") || url.ends_with(".jpg") || url.ends_with(".svg")) return "Image";
  return "Other";
}

}  // namespace

FakeDevTools::FakeDevTools(std::string_view mode, int delayMilliseconds, Outbox outbox)
    : mode_(mode), delay_(delayMilliseconds), outbox_(std::move(outbox)) {}

std::vector<std::string> FakeDevTools::openTargets() const {
  std::vector<std::string> ids;
  for (const auto& [id, page] : pages_) ids.push_back(id);
  return ids;
}

std::optional<int> FakeDevTools::take(const json& command) {
  if (mode_ == "exit") return kExitClosed;
  if (mode_ == "bad-json") {
    outbox_("{\"id\": 1, \"result\": {\"truncated\"");
    return std::nullopt;
  }
  const std::string method = textIn(command, "method");
  const json params = command.value("params", json::object());
  const std::string sessionId = textIn(command, "sessionId");
  if (method == "Page.navigate" && mode_ == "crash-at-second-page" && ++navigations_ == 2) {
    return kExitCrashed;
  }
  if (method == "Browser.close") {
    reply(command, Answer::of(json::object()));
    if (mode_ == "linger") {
      for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
    }
    return kExitClosed;
  }
  const Answer answer = sessionId.empty() ? browserCommand(method, params)
                                          : pageCommand(method, params, sessionId, command);
  if (!answer.held) reply(command, answer);
  return std::nullopt;
}

FakeDevTools::Answer FakeDevTools::browserCommand(const std::string& method, const json& params) {
  if (method == "Target.createBrowserContext") return createBrowserContext();
  if (method == "Target.disposeBrowserContext") return disposeBrowserContext(params);
  if (method == "Target.createTarget") {
    if (mode_ == "target-error") return Answer::refused("Failed to open a new tab");
    return createTarget(params);
  }
  if (method == "Target.attachToTarget") return attachToTarget(params);
  if (method == "Target.getTargets") {
    json infos = json::array();
    for (const auto& [id, page] : pages_) {
      infos.push_back({{"targetId", id}, {"type", "page"}, {"browserContextId", page.contextId}});
    }
    return Answer::of({{"targetInfos", infos}});
  }
  if (method == "Browser.getVersion") {
    return Answer::of({{"protocolVersion", "1.3"}, {"product", "FakeBrowser/1.0"}});
  }
  return Answer::unknown(method);
}

FakeDevTools::Answer FakeDevTools::pageCommand(const std::string& method, const json& params,
                                               const std::string& sessionId, const json& command) {
  const auto session = sessions_.find(sessionId);
  if (session == sessions_.end()) return Answer::refused("Session with given id not found.");
  Page& page = pages_.at(session->second.targetId);
  // A renderer stuck in a script reads nothing: its commands are never answered.
  if (page.hung) return Answer::later();
  if (page.crashed) return Answer::refused("Target crashed");
  if (method == "Page.enable") {
    session->second.pageEvents = true;
    return Answer::of(json::object());
  }
  if (method == "Emulation.setDeviceMetricsOverride") {
    page.width = params.value("width", 0);
    page.height = params.value("height", 0);
    page.deviceScale = params.value("deviceScaleFactor", 1.0);
    return Answer::of(json::object());
  }
  if (method == "Fetch.enable") {
    session->second.fetchPatterns = params;
    return Answer::of(json::object());
  }
  if (method == "Fetch.continueRequest" || method == "Fetch.failRequest") {
    return answerHeldRequest(method, params, sessionId);
  }
  if (method == "Page.navigate") return navigate(page, sessionId, command);
  if (method == "Page.handleJavaScriptDialog") return closeDialog(page, sessionId, command);
  if (method == "Runtime.evaluate") return evaluate(page, params);
  if (method == "Page.getLayoutMetrics") return layoutMetrics(page);
  if (method == "Page.captureScreenshot") return screenshot(page);
  return Answer::unknown(method);
}

FakeDevTools::Answer FakeDevTools::createBrowserContext() {
  const std::string id = "fake-context-" + std::to_string(++contextsMade_);
  contexts_.insert(id);
  return Answer::of({{"browserContextId", id}});
}

// As Chromium does, the context's pages close and their sessions detach; the browser's own
// context cannot be disposed of.
FakeDevTools::Answer FakeDevTools::disposeBrowserContext(const json& params) {
  const std::string id = textIn(params, "browserContextId");
  if (contexts_.erase(id) == 0) return Answer::refused("Failed to find context with id " + id);
  std::vector<std::string> closing;
  for (const auto& [targetId, page] : pages_) {
    if (page.contextId == id) closing.push_back(targetId);
  }
  for (const std::string& targetId : closing) closeTarget(targetId);
  return Answer::of(json::object());
}

FakeDevTools::Answer FakeDevTools::createTarget(const json& params) {
  const std::string contextId = textIn(params, "browserContextId");
  if (params.contains("browserContextId") && !contexts_.contains(contextId)) {
    return Answer::refused("Failed to find browser context with id " + contextId);
  }
  if (textIn(params, "url") != "about:blank") return Answer::refused("the fake opens blank pages");
  const std::string id = "fake-target-" + std::to_string(++targetsMade_);
  pages_[id].contextId = contextId;
  return Answer::of({{"targetId", id}});
}

FakeDevTools::Answer FakeDevTools::attachToTarget(const json& params) {
  const std::string targetId = textIn(params, "targetId");
  if (!pages_.contains(targetId)) return Answer::refused("No target with given id found");
  if (params.value("flatten", false) != true) {
    return Answer::refused("the fake speaks to pages in flattened mode only");
  }
  const std::string id = "fake-session-" + std::to_string(++sessionsMade_);
  sessions_[id].targetId = targetId;
  return Answer::of({{"sessionId", id}});
}

void FakeDevTools::closeTarget(const std::string& targetId) {
  std::erase_if(heldRequests_, [&](const auto& held) { return held.second.targetId == targetId; });
  for (auto session = sessions_.begin(); session != sessions_.end();) {
    if (session->second.targetId != targetId) {
      ++session;
      continue;
    }
    sendEvent("Target.detachedFromTarget", {{"sessionId", session->first}, {"targetId", targetId}});
    session = sessions_.erase(session);
  }
  pages_.erase(targetId);
}

FakeDevTools::Answer FakeDevTools::navigate(Page& page, const std::string& sessionId,
                                            const json& command) {
  const std::string url = textIn(command.value("params", json::object()), "url");
  const std::optional<std::string> document = readWhole(std::filesystem::path(pathOfFileUrl(url)));
  if (!document) {
    return Answer::of({{"frameId", "fake-frame"}, {"errorText", "net::ERR_FILE_NOT_FOUND"}});
  }
  const std::string targetId = sessions_.at(sessionId).targetId;
  std::erase_if(heldRequests_, [&](const auto& held) { return held.second.targetId == targetId; });
  Page loading;
  loading.contextId = page.contextId;
  loading.width = page.width;
  loading.height = page.height;
  loading.deviceScale = page.deviceScale;
  loading.document = *document;
  loading.directions = readPageDirections(*document);
  page = std::move(loading);
  page.navigation = command;
  // The document's own request is held like any other, and the navigation waits for it.
  if (!holdRequest(targetId, sessionId, url, "Document", true)) commitNavigation(page, sessionId);
  return Answer::later();
}

void FakeDevTools::commitNavigation(Page& page, const std::string& sessionId) {
  if (!page.navigation) return;
  reply(*page.navigation, Answer::of({{"frameId", "fake-frame"}, {"loaderId", "fake-loader"}}));
  page.navigation.reset();
  advanceLoad(sessions_.at(sessionId).targetId, sessionId);
}

bool FakeDevTools::holdRequest(const std::string& targetId, const std::string& sessionId,
                               const std::string& url, std::string_view resourceType,
                               bool isDocument) {
  const std::optional<json>& patterns = sessions_.at(sessionId).fetchPatterns;
  if (!patterns || !holdsBeforeSending(*patterns, url, resourceType)) return false;
  const std::string requestId = "fake-request-" + std::to_string(++requestsHeld_);
  heldRequests_[requestId] = {targetId, sessionId, isDocument};
  sendEvent("Fetch.requestPaused",
            {{"requestId", requestId},
             {"request", {{"url", url}, {"method", "GET"}}},
             {"frameId", "fake-frame"},
             {"resourceType", std::string(resourceType)}},
            sessionId);
  return true;
}

FakeDevTools::Answer FakeDevTools::answerHeldRequest(const std::string& method, const json& params,
                                                     const std::string& sessionId) {
  const auto held = heldRequests_.find(textIn(params, "requestId"));
  if (held == heldRequests_.end() || held->second.sessionId != sessionId) {
    return Answer::refused("Invalid InterceptionId.");
  }
  const HeldRequest request = held->second;
  heldRequests_.erase(held);
  Page& page = pages_.at(request.targetId);
  if (request.isDocument && method == "Fetch.failRequest" && page.navigation) {
    reply(*page.navigation,
          Answer::of({{"frameId", "fake-frame"}, {"errorText", "net::ERR_BLOCKED_BY_CLIENT"}}));
    page.navigation.reset();
  } else if (request.isDocument) {
    commitNavigation(page, sessionId);
  } else {
    advanceLoad(request.targetId, sessionId);
  }
  return Answer::of(json::object());
}

void FakeDevTools::advanceLoad(const std::string& targetId, const std::string& sessionId) {
  Page& page = pages_.at(targetId);
  const PageDirections& asked = page.directions;
  while (page.nextResource < asked.resources.size()) {
    const std::string& url = asked.resources[page.nextResource++];
    if (holdRequest(targetId, sessionId, url, resourceTypeOf(url), false)) return;
  }
  for (const auto& [id, held] : heldRequests_) {
    if (held.targetId == targetId) return;
  }
  if (asked.fate == RendererFate::kCrashes) {
    page.crashed = true;
    sendEvent("Inspector.targetCrashed", json::object(), sessionId);
    return;
  }
  if (asked.fate == RendererFate::kDetaches) {
    sendEvent("Target.detachedFromTarget", {{"sessionId", sessionId}, {"targetId", targetId}});
    sessions_.erase(sessionId);
    return;
  }
  if (asked.fate == RendererFate::kHangsBeforeLoad) {
    page.hung = true;
    return;
  }
  if (asked.dialog && !page.dialogShown) {
    page.dialogShown = page.dialogOpen = true;
    sendEvent("Page.javascriptDialogOpening",
              {{"url", "file:///fake"},
               {"message", "a question"},
               {"type", *asked.dialog},
               {"hasBrowserHandler", true},
               {"defaultPrompt", "a default"}},
              sessionId);
    return;
  }
  if (page.dialogOpen || mode_ == "no-load") return;
  page.loaded = true;
  if (sessions_.at(sessionId).pageEvents) {
    sendEvent("Page.loadEventFired", {{"timestamp", 1.0}}, sessionId);
  }
  if (asked.fate == RendererFate::kHangsAfterLoad) page.hung = true;
}

FakeDevTools::Answer FakeDevTools::closeDialog(Page& page, const std::string& sessionId,
                                               const json& command) {
  const json params = command.value("params", json::object());
  if (!page.dialogOpen) return Answer::refused("No dialog is showing");
  if (!params.contains("accept") || !params["accept"].is_boolean()) {
    return Answer::refused("Invalid parameters: accept: boolean value expected");
  }
  page.dialogOpen = false;
  // The answer is the client's to give; the page goes on either way.
  reply(command, Answer::of(json::object()));
  advanceLoad(sessions_.at(sessionId).targetId, sessionId);
  return Answer::later();
}

// The fake runs one script: the staged page's promise of its drawing, which is true once done,
// and undefined on a page that made none.
FakeDevTools::Answer FakeDevTools::evaluate(Page& page, const json& params) {
  if (textIn(params, "expression") != "window.ondrelDrawing") {
    return Answer::refused("the fake evaluates only the drawing's promise");
  }
  if (!page.loaded) return Answer::refused("the fake runs scripts of loaded documents only");
  if (page.document.find("window.ondrelDrawing") == std::string::npos) {
    return Answer::of({{"result", {{"type", "undefined"}}}});
  }
  if (page.directions.drawingNeverEnds) return Answer::later();
  if (params.value("awaitPromise", false)) page.drawn = true;
  return Answer::of({{"result", {{"type", "boolean"}, {"value", page.drawn}}}});
}

FakeDevTools::Answer FakeDevTools::layoutMetrics(const Page& page) const {
  if (!page.loaded) return Answer::refused("the fake lays out only loaded documents");
  const std::optional<double> drawnHeight = page.drawn ? page.directions.drawnHeight : std::nullopt;
  const double height =
      drawnHeight.value_or(page.directions.contentHeight.value_or(double(page.height)));
  return Answer::of(
      {{"cssContentSize", {{"x", 0}, {"y", 0}, {"width", page.width}, {"height", height}}}});
}

FakeDevTools::Answer FakeDevTools::screenshot(const Page& page) {
  if (!page.loaded) return Answer::refused("the fake photographs only loaded documents");
  std::this_thread::sleep_for(std::chrono::milliseconds(delay_ + pauseOfPage(page.document)));
  if (mode_ == "not-png") return Answer::of({{"data", base64("this is not a png\n")}});
  // Like Chromium, it draws the viewport's CSS pixels at the scale's density.
  const WindowSize device = scaledWindow({page.width, page.height}, page.deviceScale);
  const bool smaller = mode_ == "smaller";
  const int width = smaller ? std::max(device.width / 2, 1) : device.width;
  const int height = smaller ? std::max(device.height / 2, 1) : device.height;
  return Answer::of(
      {{"data", base64(encodePng(patternImage(width, height, seedOfPage(page.document))))}});
}

void FakeDevTools::reply(const json& command, const Answer& answer) {
  json message = {{"id", command.value("id", json())}};
  if (answer.result) {
    message["result"] = *answer.result;
  } else {
    message["error"] = {{"code", answer.code}, {"message", answer.error}};
  }
  if (command.contains("sessionId")) message["sessionId"] = command["sessionId"];
  outbox_(message.dump());
}

void FakeDevTools::sendEvent(const std::string& method, json params, const std::string& sessionId) {
  json event = {{"method", method}, {"params", std::move(params)}};
  if (!sessionId.empty()) event["sessionId"] = sessionId;
  outbox_(event.dump());
}

std::string pathOfFileUrl(std::string_view url) {
  constexpr std::string_view kScheme = "file://";
  if (url.substr(0, kScheme.size()) != kScheme) return {};
  url.remove_prefix(kScheme.size());
  if (url.empty()) return {};
  std::string path = url.front() == '/' ? "" : "//";  // a host: a UNC name
  for (std::size_t i = 0; i < url.size(); ++i) {
    if (url[i] == '%' && i + 2 < url.size() && hexValue(url[i + 1]) >= 0 &&
        hexValue(url[i + 2]) >= 0) {
      path.push_back(char(hexValue(url[i + 1]) * 16 + hexValue(url[i + 2])));
      i += 2;
    } else {
      path.push_back(url[i]);
    }
  }
  // "/C:/dir" is a drive path.
  if (path.size() >= 3 && path[0] == '/' && path[2] == ':') path.erase(0, 1);
  return path;
}

}  // namespace ondrel::test
