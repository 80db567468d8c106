#include "capture/devtools/page_supply.h"

#include "capture/devtools/network_block.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

constexpr char kAttached[] = "Target.attachedToTarget";

std::optional<std::string> stringIn(const std::optional<json>& object, const char* name) {
  if (!object || !object->is_object()) return std::nullopt;
  const auto field = object->find(name);
  if (field == object->end() || !field->is_string()) return std::nullopt;
  return field->get<std::string>();
}

std::optional<json> objectIn(const json& object, const char* name) {
  const auto field = object.find(name);
  if (field == object.end() || !field->is_object()) return std::nullopt;
  return *field;
}

}  // namespace

PageSupply::PageSupply(ProtocolConnection& connection, Lifetime lifetime)
    : connection_(connection), lifetime_(lifetime) {
  answerHeldRequests(connection_);
  connection_.onEvent(kAttached,
                      [this](const json& event, const Deadline& at) { onAttached(event, at); });
}

PageSupply::~PageSupply() {
  connection_.onEvent(kAttached, nullptr);
  connection_.onEvent(kRequestHeld, nullptr);
}

std::optional<PageTarget> PageSupply::open(const std::string& url, const Deadline& deadline) {
  if (!attachToNewPages(deadline)) return std::nullopt;
  const std::optional<std::string> contextId = takeContext(deadline);
  if (!contextId) return std::nullopt;
  std::optional<PageTarget> page = openIn(*contextId, url, deadline);
  if (!page) disposeContext(*contextId, deadline);
  // Whatever else the browser opened meanwhile runs on unwatched.
  for (const auto& [targetId, sessionId] : std::exchange(held_, {})) letRun(sessionId, deadline);
  return page;
}

void PageSupply::prepareNext(const Deadline& deadline) {
  if (lifetime_ == Lifetime::kOnePage || nextContext_) return;
  nextContext_ = connection_.request("Target.createBrowserContext", json::object(), {}, deadline);
}

void PageSupply::release(PageTarget page, const Deadline& deadline) {
  // Disposing of a context closes its pages with it.
  disposeContext(page.contextId(), deadline);
}

void PageSupply::keepLaidOut(PageTarget page, LayoutKey key, std::int32_t height,
                             const Deadline& deadline) {
  if (laidOut_) release(std::move(laidOut_->page), deadline);
  laidOut_.emplace(LaidOutPage{std::move(page), std::move(key), height});
}

std::optional<std::pair<PageTarget, std::int32_t>> PageSupply::takeLaidOut(
    const LayoutKey& key, const Deadline& deadline) {
  std::optional<LaidOutPage> kept = std::exchange(laidOut_, std::nullopt);
  if (!kept) return std::nullopt;
  if (!(kept->key == key)) {
    release(std::move(kept->page), deadline);
    return std::nullopt;
  }
  return std::pair{std::move(kept->page), kept->height};
}

// Every page the browser opens from now on is attached and held before it
// loads anything, until letRun or PageTarget::load lets it go.
bool PageSupply::attachToNewPages(const Deadline& deadline) {
  if (attaching_) return true;
  attaching_ =
      connection_
          .call("Target.setAutoAttach",
                {{"autoAttach", true}, {"waitForDebuggerOnStart", true}, {"flatten", true}}, {},
                deadline)
          .has_value();
  return attaching_;
}

void PageSupply::onAttached(const json& event, const Deadline& deadline) {
  const std::optional<json> params = objectIn(event, "params");
  if (!params) return;
  const std::optional<std::string> sessionId = stringIn(params, "sessionId");
  const std::optional<json> target = objectIn(*params, "targetInfo");
  const std::optional<std::string> targetId = target ? stringIn(target, "targetId") : std::nullopt;
  if (!sessionId) return;
  // Which page is the one being opened is known only from createTarget's
  // answer, which may come after this event.
  if (targetId && params->value("waitingForDebugger", false)) {
    held_.emplace(*targetId, *sessionId);
  } else {
    letRun(*sessionId, deadline);
  }
}

std::optional<std::string> PageSupply::takeContext(const Deadline& deadline) {
  if (lifetime_ == Lifetime::kOnePage) return std::string();
  const std::optional<std::int64_t> asked = std::exchange(nextContext_, std::nullopt);
  std::optional<json> created =
      asked ? connection_.answer(*asked, deadline)
            : connection_.call("Target.createBrowserContext", json::object(), {}, deadline);
  return stringIn(created, "browserContextId");
}

std::optional<PageTarget> PageSupply::openIn(const std::string& contextId, const std::string& url,
                                             const Deadline& deadline) {
  json params = {{"url", url}};
  if (!contextId.empty()) params["browserContextId"] = contextId;
  const std::optional<std::string> targetId = stringIn(
      connection_.call("Target.createTarget", std::move(params), {}, deadline), "targetId");
  if (!targetId) return std::nullopt;
  if (!connection_.waitUntil([&] { return held_.contains(*targetId); }, deadline)) {
    return std::nullopt;
  }
  const auto held = held_.find(*targetId);
  PageTarget page(connection_, *targetId, contextId, held->second);
  held_.erase(held);
  if (!page.enable(deadline)) return std::nullopt;
  return page;
}

void PageSupply::letRun(const std::string& sessionId, const Deadline& deadline) {
  connection_.post("Runtime.runIfWaitingForDebugger", json::object(), sessionId, deadline);
  connection_.post("Target.detachFromTarget", {{"sessionId", sessionId}}, {}, deadline);
}

void PageSupply::disposeContext(const std::string& contextId, const Deadline& deadline) {
  if (contextId.empty()) return;
  connection_.post("Target.disposeBrowserContext", {{"browserContextId", contextId}}, {}, deadline);
}

}  // namespace ondrel::devtools
