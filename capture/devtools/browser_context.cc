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
  const std::optional<std::int64_t> request =
      connection.request("Target.createBrowserContext", nlohmann::json::object(), {}, deadline);
  if (!request) return std::nullopt;
  // A context made after its caller stopped waiting would be nobody's and live as long as the
  // browser: it is disposed of as soon as its id comes.
  const auto disposeLateContext = [&connection](const nlohmann::json& result,
                                                const platform::Deadline&) {
    const std::string_view id = stringField(result, "browserContextId");
    if (id.empty()) return;
    const BrowserContext disposedAsItGoes(connection, std::string(id));
  };
  std::optional<std::string> id = nonEmptyStringIn(
      connection.answer(*request, deadline, disposeLateContext), "browserContextId");
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
