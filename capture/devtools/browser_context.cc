#include "capture/devtools/browser_context.h"

#include <utility>

#include "capture/devtools/json_fields.h"

namespace ondrel::devtools {
namespace {

// Disposing of a context is one short message; a browser that cannot take
// it this fast is not taking anything.
constexpr std::chrono::milliseconds kDisposeGrace{500};

}  // namespace

std::optional<BrowserContext> BrowserContext::create(ProtocolConnection& connection,
                                                     const platform::Deadline& deadline) {
  std::optional<std::string> id = nonEmptyStringIn(
      connection.call("Target.createBrowserContext", nlohmann::json::object(), {}, deadline),
      "browserContextId");
  if (!id) {
    connection.noteFailure(answerLacks("Target.createBrowserContext", "browserContextId"));
    return std::nullopt;
  }
  return BrowserContext(connection, std::move(*id));
}

BrowserContext BrowserContext::browsersOwn(ProtocolConnection& connection) {
  return BrowserContext(connection, {});
}

BrowserContext::BrowserContext(BrowserContext&& other) noexcept
    : connection_(std::exchange(other.connection_, nullptr)), id_(std::move(other.id_)) {}

BrowserContext& BrowserContext::operator=(BrowserContext&& other) noexcept {
  if (this != &other) {
    dispose();
    connection_ = std::exchange(other.connection_, nullptr);
    id_ = std::move(other.id_);
  }
  return *this;
}

BrowserContext::~BrowserContext() { dispose(); }

void BrowserContext::dispose() {
  if (connection_ == nullptr || id_.empty()) return;
  try {
    connection_->post("Target.disposeBrowserContext", {{"browserContextId", id_}}, {},
                      platform::Deadline::after(kDisposeGrace));
  } catch (...) {
    // Out of memory for the message: the context goes with the browser.
  }
  connection_ = nullptr;
}

}  // namespace ondrel::devtools
