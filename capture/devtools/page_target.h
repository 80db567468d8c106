#ifndef ONDREL_CAPTURE_DEVTOOLS_PAGE_TARGET_H_
#define ONDREL_CAPTURE_DEVTOOLS_PAGE_TARGET_H_

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/devtools/protocol_connection.h"
#include "capture/devtools/watched_session.h"
#include "platform/deadline.h"

namespace ondrel::devtools {

// One page of a browser, reached through its connection in flattened mode:
// commands for it carry its session id. It borrows the connection, which
// must outlive it. Each step is false or nothing when the browser refused it,
// the connection broke, or the page went: a page whose renderer crashed ends
// every step at once, whatever the deadline.
class PageTarget {
 public:
  // The page `targetId`, attached and reporting its page events.
  static std::optional<PageTarget> attach(ProtocolConnection& connection,
                                          const std::string& targetId,
                                          const platform::Deadline& deadline);

  PageTarget(PageTarget&&) = default;
  PageTarget& operator=(PageTarget&&) = default;
  PageTarget(const PageTarget&) = delete;

  const std::string& targetId() const { return targetId_; }
  const std::string& sessionId() const { return session_.id(); }

  // Lays the page out in a viewport of exactly `width` x `height` CSS pixels
  // as a desktop page, drawn at `deviceScale` device pixels a CSS pixel.
  bool setViewport(int width, int height, double deviceScale, const platform::Deadline& deadline);

  // From now on the page may load only file: and data: resources; every
  // other request fails as blocked (see network_block.h).
  bool blockNetwork(const platform::Deadline& deadline);

  // Loads `url` and waits for its load event.
  bool navigate(const std::string& url, const platform::Deadline& deadline);

  // Waits for the loaded page's drawing: the promise window.ondrelDrawing,
  // when the page made one. A page that made none is drawn already.
  bool awaitDrawing(const platform::Deadline& deadline);

  // The height of the laid-out content in CSS pixels.
  std::optional<double> contentHeight(const platform::Deadline& deadline);

  // A PNG of the viewport.
  std::optional<std::vector<std::uint8_t>> screenshot(const platform::Deadline& deadline);

 private:
  PageTarget(ProtocolConnection& connection, std::string targetId, std::string sessionId)
      : connection_(&connection),
        targetId_(std::move(targetId)),
        session_(connection, std::move(sessionId), targetId_) {}

  std::optional<nlohmann::json> call(std::string_view method, nlohmann::json params,
                                     const platform::Deadline& deadline);

  ProtocolConnection* connection_;
  std::string targetId_;
  WatchedSession session_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PAGE_TARGET_H_
