#include "capture/devtools/page_supply.h"

#include "capture/devtools/json_fields.h"
#include "capture/devtools/network_block.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

}  // namespace

PageSupply::PageSupply(ProtocolConnection& connection, Lifetime lifetime)
    : connection_(connection), lifetime_(lifetime) {
  answerHeldRequests(connection_);
}

PageSupply::~PageSupply() { connection_.onEvent(kRequestHeld, nullptr); }

std::optional<PageTarget> PageSupply::open(const Deadline& deadline) {
  std::optional<PreparedPage> page = std::exchange(prepared_, std::nullopt);
  if (!page) page = preparePage(deadline);
  if (!page) return std::nullopt;
  const std::optional<std::string> targetId =
      nonEmptyStringIn(connection_.answer(page->targetRequest, deadline), "targetId");
  std::optional<PageTarget> attached;
  if (targetId) attached = PageTarget::attach(connection_, *targetId, page->contextId, deadline);
  if (!attached) disposeContext(page->contextId, deadline);
  return attached;
}

void PageSupply::prepareNext(const Deadline& deadline) {
  if (lifetime_ == Lifetime::kOnePage || prepared_) return;
  prepared_ = preparePage(deadline);
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

// The context is waited for, as its page needs its id; the page is only
// asked for.
std::optional<PageSupply::PreparedPage> PageSupply::preparePage(const Deadline& deadline) {
  std::string contextId;
  if (lifetime_ == Lifetime::kManyPages) {
    const std::optional<std::string> created = nonEmptyStringIn(
        connection_.call("Target.createBrowserContext", json::object(), {}, deadline),
        "browserContextId");
    if (!created) return std::nullopt;
    contextId = *created;
  }
  json params = {{"url", "about:blank"}};
  if (!contextId.empty()) params["browserContextId"] = contextId;
  const std::optional<std::int64_t> request =
      connection_.request("Target.createTarget", std::move(params), {}, deadline);
  if (!request) {
    disposeContext(contextId, deadline);
    return std::nullopt;
  }
  return PreparedPage{std::move(contextId), *request};
}

void PageSupply::disposeContext(const std::string& contextId, const Deadline& deadline) {
  if (contextId.empty()) return;
  connection_.post("Target.disposeBrowserContext", {{"browserContextId", contextId}}, {}, deadline);
}

}  // namespace ondrel::devtools
