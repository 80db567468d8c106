#include "capture/devtools/page_target.h"

#include "capture/devtools/base64.h"
#include "capture/devtools/network_block.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;

constexpr char kLoadEvent[] = "Page.loadEventFired";

}  // namespace

bool PageTarget::enable(const platform::Deadline& deadline) {
  return call("Page.enable", json::object(), deadline).has_value();
}

bool PageTarget::blockNetwork(const platform::Deadline& deadline) {
  return call("Fetch.enable", networkBlockPatterns(), deadline).has_value();
}

bool PageTarget::setViewport(int width, int height, const platform::Deadline& deadline) {
  return call("Emulation.setDeviceMetricsOverride",
              {{"width", width}, {"height", height}, {"deviceScaleFactor", 1}, {"mobile", false}},
              deadline)
      .has_value();
}

bool PageTarget::load(const platform::Deadline& deadline) {
  if (!call("Runtime.runIfWaitingForDebugger", json::object(), deadline) ||
      !connection_->waitForEvent(kLoadEvent, sessionId_, deadline)) {
    return false;
  }
  // A document that cannot be read loads the browser's error page in its
  // stead, which names the document as the unreachable one.
  const std::optional<json> tree = call("Page.getFrameTree", json::object(), deadline);
  const auto node = tree ? tree->find("frameTree") : json::const_iterator();
  if (!tree || node == tree->end() || !node->is_object()) return false;
  const auto frame = node->find("frame");
  return frame != node->end() && frame->is_object() && !frame->contains("unreachableUrl");
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
  return std::nullopt;
}

std::optional<std::vector<std::uint8_t>> PageTarget::screenshot(
    const platform::Deadline& deadline) {
  // Faster compression gives the same pixels in a somewhat larger PNG, which
  // never leaves the machine.
  const std::optional<json> result =
      call("Page.captureScreenshot", {{"format", "png"}, {"optimizeForSpeed", true}}, deadline);
  const auto data = result ? result->find("data") : json::const_iterator();
  if (!result || data == result->end() || !data->is_string()) return std::nullopt;
  return decodeBase64(data->get_ref<const std::string&>());
}

std::optional<json> PageTarget::call(std::string_view method, json params,
                                     const platform::Deadline& deadline) {
  return connection_->call(method, std::move(params), sessionId_, deadline);
}

}  // namespace ondrel::devtools
