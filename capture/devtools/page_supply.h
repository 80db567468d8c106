#ifndef ONDREL_CAPTURE_DEVTOOLS_PAGE_SUPPLY_H_
#define ONDREL_CAPTURE_DEVTOOLS_PAGE_SUPPLY_H_

#include <cstddef>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <utility>

#include "capture/devtools/browser_context.h"
#include "capture/devtools/dialog_answers.h"
#include "capture/devtools/network_block.h"
#include "capture/devtools/page_lease.h"
#include "capture/devtools/protocol_connection.h"
#include "platform/deadline.h"

namespace ondrel::devtools {

// What a page was laid out for: the document, its bytes as the browser was
// given them, and every request field that changes the layout.
struct LayoutKey {
  std::string url;
  std::uint64_t contentHash = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
  std::int32_t tallest = 0;
  double deviceScale = 1.0;
  bool blockNetwork = false;
  bool operator==(const LayoutKey&) const = default;
};

// Where the pages of one browser come from (docs/page-isolation.md).
//
// A kept browser gives each page a browser context of its own, disposed of
// with the page: storage, cookies, caches and permissions a document leaves
// behind die with it. A context's first page costs the browser a renderer
// start, so the next picture's context and blank page are asked for as a
// picture ends, and the browser makes them while the viewer is busy.
//
// A page laid out only to measure it is kept, in its own context, for the
// picture call that follows, which then needs no second load.
//
// Pictures drawn at once share it: each takes a page of its own, and as many
// pages are made ready as pictures may be drawn at once.
class PageSupply {
 public:
  // A browser started for one page shows it in the browser's own context
  // and ends with it; a kept browser gives each page a context of its own.
  enum class Lifetime { kOnePage, kManyPages };

  // While it lives, the connection also answers the requests of pages kept
  // off the network and the dialogs pages open.
  PageSupply(ProtocolConnection& connection, Lifetime lifetime);
  PageSupply(const PageSupply&) = delete;
  PageSupply& operator=(const PageSupply&) = delete;

  // A blank page, attached and reporting its page events: the one made
  // ready if there is one.
  std::optional<PageLease> open(const platform::Deadline& deadline);

  // Asks the browser for the next page, answered when it is opened; nothing
  // to do when as many pages as asked for (readyPages) are ready or on their
  // way, when a laid-out page is kept for the next call (the browser is left
  // free for it), or when the browser serves one page.
  void prepareNext(const platform::Deadline& deadline);

  // How many pages to keep ready from now on: one for each picture drawn at
  // once, so that a viewer drawing one picture at a time keeps one renderer
  // waiting, not as many as it might draw. At least 1.
  void readyPages(std::size_t pages);

  // Keeps `page`, laid out for `key` at `height` rows, for takeLaidOut; a
  // page kept before goes.
  void keepLaidOut(PageLease page, LayoutKey key, std::int32_t height);

  bool holdsLaidOutPage() const;

  // The kept page when it was laid out for `key`, with its height; any other
  // kept page goes, so a kept page serves one call at most.
  std::optional<std::pair<PageLease, std::int32_t>> takeLaidOut(const LayoutKey& key);

 private:
  // A context and the request for its blank page, whose answer is still to
  // come.
  struct PreparedPage {
    BrowserContext context;
    std::int64_t targetRequest = 0;
  };
  struct LaidOutPage {
    PageLease page;
    LayoutKey key;
    std::int32_t height = 0;
  };

  std::optional<PreparedPage> preparePage(const platform::Deadline& deadline);
  std::optional<BrowserContext> contextForPage(const platform::Deadline& deadline);
  // A page made ready, taken for the caller; nothing when none is.
  std::optional<PreparedPage> takePrepared();
  // Whether another page is to be made ready; counts it as on its way then.
  bool startsPreparing();

  ProtocolConnection& connection_;
  const Lifetime lifetime_;
  NetworkBlock networkBlock_;
  DialogAnswers dialogAnswers_;
  // Guards the pages below; never held while the browser is waited for.
  mutable std::mutex mutex_;
  std::deque<PreparedPage> prepared_;
  std::size_t preparing_ = 0;  // pages asked for and not yet among prepared_
  std::size_t readyPages_ = 1;
  std::optional<LaidOutPage> laidOut_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PAGE_SUPPLY_H_
