#include "capture/devtools/devtools_capture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "capture/capture_files.h"
#include "capture/devtools/browser_session.h"
#include "capture/devtools/file_url.h"
#include "capture/devtools/kept_browser.h"
#include "capture/devtools/page_supply.h"
#include "capture/devtools/page_target.h"
#include "capture/page_kinds.h"
#include "platform/files.h"

namespace ondrel::devtools {
namespace {

using platform::Deadline;

// 0 sets no limit; a negative limit is over before anything starts, as the
// other engine gives up at its first look.
Deadline deadlineFor(std::int32_t waitSeconds) {
  if (waitSeconds == 0) return Deadline::never();
  return Deadline::after(std::chrono::seconds(std::max(waitSeconds, 0)));
}

BrowserLaunch launchFor(const CaptureRequest& request) {
  return BrowserLaunch{request.browserPath, request.showScrollbars, request.elevation};
}

// The page the browser is given: the document itself, or for a Markdown
// document the page staged for it, which `files` then holds.
std::optional<WideString> pageToShow(const CaptureRequest& request,
                                     std::optional<CaptureFiles>& files) {
  if (pageKindOf(request.pagePath) != PageKind::kMarkdown) return request.pagePath;
  std::optional<CaptureFiles> held = CaptureFiles::hold(request.pagePath);
  if (!held) return std::nullopt;
  files.emplace(std::move(*held));
  return stageMarkdown(request.pagePath, *files, request.convertMarkdown);
}

// What a whole page laid out in a kept browser is kept for: the same page
// with the same bytes, in the same layout. Nothing when no page is kept.
std::optional<LayoutKey> layoutKeyFor(const CaptureRequest& request, const WideString& page,
                                      const std::string& url) {
  if (!request.fullPage || request.keepBrowserSeconds <= 0) return std::nullopt;
  const std::optional<std::string> bytes = platform::readFileBytes(page);
  if (!bytes) return std::nullopt;
  return LayoutKey{url,
                   std::uint64_t(std::hash<std::string_view>()(*bytes)),
                   request.captureWidth,
                   request.captureHeight,
                   request.tallestPage,
                   request.blockNetwork};
}

// Loads the page into a viewport of the capture size and, for a whole page,
// sets the viewport to the content's height; the viewport's height then.
std::optional<std::int32_t> layOut(PageTarget& page, const CaptureRequest& request,
                                   const std::string& url, const Deadline& deadline) {
  if (!page.setViewport(request.captureWidth, request.captureHeight, deadline) ||
      (request.blockNetwork && !page.blockNetwork(deadline)) || !page.navigate(url, deadline)) {
    return std::nullopt;
  }
  if (!request.fullPage) return request.captureHeight;
  const std::optional<double> content = page.contentHeight(deadline);
  if (!content) return std::nullopt;
  const std::int32_t height = fullPageHeight(*content, request.tallestPage);
  if (height != request.captureHeight &&
      !page.setViewport(request.captureWidth, height, deadline)) {
    return std::nullopt;
  }
  return height;
}

// What one run of the browser gave: the page's height and, when asked for,
// its screenshot.
struct PageRun {
  std::optional<std::int32_t> height;
  std::optional<std::vector<std::uint8_t>> png;
};

// What a page is shown for: its URL, the picture or only its height, and
// the layout a measured page is kept for.
struct Showing {
  std::string url;
  bool takeScreenshot = false;
  std::optional<LayoutKey> layout;
};

// The screenshot of a laid-out page, or the page kept when only its height
// was asked for and a picture of it is likely to follow.
PageRun finish(PageSupply& pages, PageTarget page, std::int32_t height, const Showing& showing,
               const Deadline& deadline) {
  PageRun run{height, std::nullopt};
  if (showing.takeScreenshot) {
    run.png = page.screenshot(deadline);
  } else if (showing.layout) {
    pages.keepLaidOut(std::move(page), *showing.layout, height, deadline);
    return run;
  }
  pages.release(std::move(page), deadline);
  return run;
}

// Shows the page in a page of `pages`: its height and, when asked for, its
// screenshot. The next picture's page is asked for last, unless the page
// stays laid out for the next call.
PageRun showPage(PageSupply& pages, const CaptureRequest& request, const Showing& showing,
                 const Deadline& deadline) {
  PageRun run;
  std::optional<std::pair<PageTarget, std::int32_t>> laidOut;
  if (showing.layout) laidOut = pages.takeLaidOut(*showing.layout, deadline);
  if (laidOut) {
    run = finish(pages, std::move(laidOut->first), laidOut->second, showing, deadline);
  } else if (std::optional<PageTarget> page = pages.open(deadline)) {
    const std::optional<std::int32_t> height = layOut(*page, request, showing.url, deadline);
    if (height) {
      run = finish(pages, std::move(*page), *height, showing, deadline);
    } else {
      pages.release(std::move(*page), deadline);
    }
  }
  // A measured page is usually shown next; the browser is kept free for it.
  if (!pages.holdsLaidOutPage()) pages.prepareNext(deadline);
  return run;
}

bool succeeded(const PageRun& run, bool takeScreenshot) {
  return run.height && (!takeScreenshot || run.png);
}

PageRun runBrowser(const CaptureRequest& request, bool takeScreenshot) {
  const Deadline deadline = deadlineFor(request.waitSeconds);
  std::optional<CaptureFiles> files;
  const std::optional<WideString> page = pageToShow(request, files);
  const std::optional<std::string> url = page ? fileUrl(*page) : std::nullopt;
  if (!url) return {};
  const Showing showing{*url, takeScreenshot, layoutKeyFor(request, *page, *url)};
  PageRun run;
  if (request.keepBrowserSeconds > 0) {
    KeptBrowser::ofThisModule().show(launchFor(request),
                                     std::chrono::seconds(request.keepBrowserSeconds), deadline,
                                     [&](PageSupply& pages) {
                                       run = showPage(pages, request, showing, deadline);
                                       return succeeded(run, takeScreenshot);
                                     });
    return run;
  }
  const std::unique_ptr<BrowserSession> browser = BrowserSession::start(launchFor(request));
  if (!browser) return {};
  {
    PageSupply pages(browser->connection(), PageSupply::Lifetime::kOnePage);
    run = showPage(pages, request, showing, deadline);
  }
  browser->close(deadline);
  return run;
}

}  // namespace

std::int32_t fullPageHeight(double contentHeight, std::int32_t tallest) {
  tallest = std::max<std::int32_t>(tallest, 1);
  if (std::isnan(contentHeight) || contentHeight < 1) return 1;
  if (contentHeight >= double(tallest)) return tallest;
  return std::int32_t(std::ceil(contentHeight));
}

std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  try {
    const PageRun run = runBrowser(request, true);
    if (!run.height || !run.png) return nullptr;
    std::unique_ptr<platform::ScreenshotBitmap> picture =
        platform::decodePngBytes(*run.png, request.captureWidth, *run.height);
    // A screenshot of any other size is not this page's picture.
    if (!picture || picture->width() != request.captureWidth || picture->height() != *run.height) {
      return nullptr;
    }
    return picture;
  } catch (...) {
    // Whatever went wrong, the viewer gets a result code, never an exception.
    return nullptr;
  }
}

void closeIdleBrowser() {
  try {
    KeptBrowser::ofThisModule().closeIfIdle();
  } catch (...) {
    // A browser that could not be closed now is closed at a later call.
  }
}

std::optional<std::int32_t> measurePage(const CaptureRequest& request) {
  try {
    return runBrowser(request, false).height;
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace ondrel::devtools
