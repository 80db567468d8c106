#ifndef ONDREL_CAPTURE_DEVTOOLS_PAGE_LEASE_H_
#define ONDREL_CAPTURE_DEVTOOLS_PAGE_LEASE_H_

#include <string>

#include "capture/devtools/browser_context.h"
#include "capture/devtools/page_target.h"

namespace ondrel::devtools {

// A page of the browser held for one picture, with the context it lives in.
// When the lease goes, on whatever path, the context goes with the page and
// its session.
class PageLease {
 public:
  PageLease(BrowserContext context, PageTarget page)
      : context_(std::move(context)), page_(std::move(page)) {}
  PageLease(PageLease&&) = default;
  PageLease& operator=(PageLease&&) = default;
  PageLease(const PageLease&) = delete;

  PageTarget* operator->() { return &page_; }
  PageTarget& page() { return page_; }

  const std::string& targetId() const { return page_.targetId(); }
  const std::string& contextId() const { return context_.id(); }

 private:
  // Declared first, so that it is disposed of after the page is let go.
  BrowserContext context_;
  PageTarget page_;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_PAGE_LEASE_H_
