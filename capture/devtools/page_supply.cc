#include "capture/devtools/page_supply.h"

#include <algorithm>

#include "capture/devtools/json_fields.h"

namespace ondrel::devtools {
namespace {

using nlohmann::json;
using platform::Deadline;

}  // namespace

PageSupply::PageSupply(ProtocolConnection& connection, Lifetime lifetime)
    : connection_(connection),
      lifetime_(lifetime),
      networkBlock_(connection),
      dialogAnswers_(connection) {}

std::optional<PageLease> PageSupply::open(const Deadline& deadline) {
  std::optional<PreparedPage> page = takePrepared();
  if (!page) page = preparePage(deadline);
  if (!page) return std::nullopt;
  const std::optional<std::string> targetId =
      nonEmptyStringIn(connection_.answer(page->targetRequest, deadline), "targetId");
  if (!targetId) {
    connection_.noteFailure(answerLacks("Target.createTarget", "targetId"));
    return std::nullopt;
  }
  std::optional<PageTarget> attached = PageTarget::attach(connection_, *targetId, deadline);
  if (!attached) return std::nullopt;
  return PageLease(std::move(page->context), std::move(*attached));
}

void PageSupply::prepareNext(const Deadline& deadline) {
  if (!startsPreparing()) return;
  std::optional<PreparedPage> page = preparePage(deadline);
  const std::lock_guard lock(mutex_);
  --preparing_;
  if (page) prepared_.push_back(std::move(*page));
}

void PageSupply::readyPages(std::size_t pages) {
  const std::lock_guard lock(mutex_);
  readyPages_ = std::max<std::size_t>(pages, 1);
}

bool PageSupply::startsPreparing() {
  const std::lock_guard lock(mutex_);
  if (lifetime_ == Lifetime::kOnePage || laidOut_ || prepared_.size() + preparing_ >= readyPages_) {
    return false;
  }
  ++preparing_;
  return true;
}

std::optional<PageSupply::PreparedPage> PageSupply::takePrepared() {
  const std::lock_guard lock(mutex_);
  if (prepared_.empty()) return std::nullopt;
  PreparedPage page = std::move(prepared_.front());
  prepared_.pop_front();
  return page;
}

bool PageSupply::holdsLaidOutPage() const {
  const std::lock_guard lock(mutex_);
  return laidOut_.has_value();
}

void PageSupply::keepLaidOut(PageLease page, LayoutKey key, std::int32_t height) {
  std::optional<LaidOutPage> earlier;
  const std::lock_guard lock(mutex_);
  // The page kept before goes once the lock is let go, as its context's
  // disposal is a message to the browser.
  earlier = std::exchange(laidOut_, LaidOutPage{std::move(page), std::move(key), height});
}

std::optional<std::pair<PageLease, std::int32_t>> PageSupply::takeLaidOut(const LayoutKey& key) {
  std::optional<LaidOutPage> kept;
  {
    const std::lock_guard lock(mutex_);
    kept = std::exchange(laidOut_, std::nullopt);
  }
  if (!kept || !(kept->key == key)) return std::nullopt;
  return std::pair{std::move(kept->page), kept->height};
}

// The context is waited for, as its page needs its id; the page is only
// asked for.
std::optional<PageSupply::PreparedPage> PageSupply::preparePage(const Deadline& deadline) {
  std::optional<BrowserContext> context = contextForPage(deadline);
  if (!context) return std::nullopt;
  json params = {{"url", "about:blank"}};
  if (!context->id().empty()) params["browserContextId"] = context->id();
  const std::optional<std::int64_t> request =
      connection_.request("Target.createTarget", std::move(params), {}, deadline);
  if (!request) return std::nullopt;
  return PreparedPage{std::move(*context), *request};
}

std::optional<BrowserContext> PageSupply::contextForPage(const Deadline& deadline) {
  if (lifetime_ == Lifetime::kOnePage) return BrowserContext::browsersOwn(connection_);
  return BrowserContext::create(connection_, deadline);
}

}  // namespace ondrel::devtools
