#ifndef ONDREL_CAPTURE_DEVTOOLS_BROWSER_CONTEXT_H_
#define ONDREL_CAPTURE_DEVTOOLS_BROWSER_CONTEXT_H_

#include <optional>
#include <string>

#include "capture/devtools/protocol_connection.h"
#include "platform/deadline.h"

namespace ondrel::devtools {

// A browser context of a kept browser, made for one page: its storage,
// cookies, caches and permissions die with it. When the object goes the
// browser is told to dispose of it, which closes its pages and their
// sessions; the browser is not waited for. The browser's own context
// (an empty id) is never disposed of: it goes with the browser.
//
// It borrows the connection, which must outlive it.
class BrowserContext {
 public:
  // A new context; nothing when the browser refused it or did not answer in
  // time (one that comes later is disposed of when it does).
  static std::optional<BrowserContext> create(ProtocolConnection& connection,
                                              const platform::Deadline& deadline);
  // The browser's own context, for a browser that shows one page.
  static BrowserContext browsersOwn(ProtocolConnection& connection);

  BrowserContext(BrowserContext&& other) noexcept;
  // Disposes of the context held so far.
  BrowserContext& operator=(BrowserContext&& other) noexcept;
  BrowserContext(const BrowserContext&) = delete;
  ~BrowserContext();

  // Empty for the browser's own.
  const std::string& id() const { return id_; }

 private:
  BrowserContext(ProtocolConnection& connection, std::string id)
      : connection_(&connection), id_(std::move(id)) {}

  void dispose();

  ProtocolConnection* connection_;  // none once moved from
  std::string id_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_BROWSER_CONTEXT_H_
