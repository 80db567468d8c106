#include "capture/devtools/page_target.h"

#include "capture/devtools/base64.h"
#include "capture/devtools/json_fields.h"
#include "capture/devtools/network_block.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;

constexpr char kLoadEvent[] = "Page.loadEventFired";

}  // namespace

std::optional<PageTarget> PageTarget::attach(ProtocolConnection& connection,
                                             const std::string& targetId,
                                             const platform::Deadline& deadline) {
  const std::optional<std::string> sessionId =
      nonEmptyStringIn(connection.call("Target.attachToTarget",
                                       {{"targetId", targetId}, {"flatten", true}}, {}, deadline),
                       "sessionId");
  if (!sessionId) {
    connection.noteFailure(answerLacks("Target.attachToTarget", "sessionId"));
    return std::nullopt;
  }
  PageTarget page(connection, targetId, *sessionId);
  if (!page.call("Page.enable", json::object(), deadline)) return std::nullopt;
  return page;
}

bool PageTarget::blockNetwork(const platform::Deadline& deadline) {
  return call("Fetch.enable", networkBlockPatterns(), deadline).has_value();
}

bool PageTarget::setViewport(int width, int height, double deviceScale,
                             const platform::Deadline& deadline) {
  // At scale 1 the browser is asked exactly as it always was.
  const json scale = deviceScale == 1.0 ? json(1) : json(deviceScale);
  return call("Emulation.setDeviceMetricsOverride",
              {{"width", width},
               {"height", height},
               {"deviceScaleFactor", scale},
               {"mobile", false}},
              deadline)
      .has_value();
}

bool PageTarget::navigate(const std::string& url, const platform::Deadline& deadline) {
  // The blank page's own load must not pass for this one.
  connection_->forgetEvents(kLoadEvent, session_.id());
  const std::optional<json> result = call("Page.navigate", {{"url", url}}, deadline);
  // A page that cannot be loaded is answered with an error text.
  if (!result) return false;
  if (result->contains("errorText")) {
    const std::string_view error = stringField(*result, "errorText");
    connection_->noteFailure({ConnectionFailure::Kind::kErrorAnswer, "Page.navigate",
                              error.empty() ? "the page did not load" : std::string(error)});
    return false;
  }
  return connection_->waitForEvent(kLoadEvent, session_.id(), deadline);
}

bool PageTarget::awaitDrawing(const platform::Deadline& deadline) {
  // A drawing that failed shows what it could; the picture is still the page's.
  return call("Runtime.evaluate",
              {{"expression", "window.ondrelDrawing"},
               {"awaitPromise", true},
               {"returnByValue", true}},
              deadline)
      .has_value();
}

std::optional<double> PageTarget::contentHeight(const platform::Deadline& deadline) {
  const std::optional<json> metrics = call("Page.getLayoutMetrics", json::object(), deadline);
  if (!metrics) return std::nullopt;
  // Older browsers report only the size in device pixels, which is the same
  // at a scale of 1.
  for (const char* name : {"cssContentSize", "contentSize"}) {
    const auto size = metrics->find(name);
    if (size == metrics->end() || !size->is_object()) continue;
    const auto height = size->find("height");
    if (height != size->end() && height->is_number()) return height->get<double>();
  }
  connection_->noteFailure(answerLacks("Page.getLayoutMetrics", "content height"));
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> PageTarget::screenshot(
    const platform::Deadline& deadline) {
  // Faster compression gives the same pixels in a somewhat larger PNG, which
  // never leaves the machine.
  const std::optional<json> result =
      call("Page.captureScreenshot", {{"format", "png"}, {"optimizeForSpeed", true}}, deadline);
  if (!result) return std::nullopt;
  const auto data = result->find("data");
  std::optional<std::vector<std::uint8_t>> png;
  if (data != result->end() && data->is_string())
    png = decodeBase64(data->get_ref<const std::string&>());
  if (!png) connection_->noteFailure(answerLacks("Page.captureScreenshot", "base64 picture"));
  return png;
}

std::optional<json> PageTarget::call(std::string_view method, json params,
                                     const platform::Deadline& deadline) {
  return connection_->call(method, std::move(params), session_.id(), deadline);
}

}  // namespace ondrel::devtools
