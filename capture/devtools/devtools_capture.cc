#include "capture/devtools/devtools_capture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "capture/devtools/browser_session.h"
#include "capture/devtools/failure_words.h"
#include "capture/devtools/kept_browser.h"
#include "capture/devtools/page_supply.h"
#include "capture/staging/file_url.h"
#include "capture/staging/staged_page.h"
#include "platform/files.h"
#include "platform/png_headers.h"

namespace ondrel::devtools {
namespace {

using platform::Deadline;

// What a call wants of the page: only the height it lays out at, or its
// picture too.
enum class Wanted { kHeight, kPicture };

// What showing the page gave.
struct PageResult {
  std::optional<std::int32_t> height;
  std::optional<std::vector<std::uint8_t>> png;

  bool gives(Wanted wanted) const { return height && (wanted == Wanted::kHeight || png); }
};

// The page to show and what is wanted of it. A whole page measured in a
// kept browser is kept laid out under `layoutToKeep` for the call that
// follows.
struct PageJob {
  std::string url;
  Wanted wanted = Wanted::kPicture;
  std::optional<LayoutKey> layoutToKeep;
};

// 0 sets no limit; a negative limit is over before anything starts, as the
// other engine gives up at its first look.
Deadline deadlineFor(std::int32_t waitSeconds) {
  if (waitSeconds == 0) return Deadline::never();
  return Deadline::after(std::chrono::seconds(std::max(waitSeconds, 0)));
}

BrowserLaunch launchFor(const CaptureRequest& request) {
  return BrowserLaunch{request.browserPath, request.showScrollbars, request.elevation,
                       request.devTools.blockNetwork};
}

// What a whole page laid out in a kept browser is kept for: the same page
// with the same bytes, in the same layout. Nothing when no page is kept.
std::optional<LayoutKey> layoutKeyFor(const CaptureRequest& request, const WideString& page,
                                      const std::string& url) {
  const DevToolsOptions& options = request.devTools;
  if (!options.fullPage || options.keepBrowserSeconds <= 0) return std::nullopt;
  const std::optional<std::string> bytes = platform::readFileBytes(page);
  if (!bytes) return std::nullopt;
  return LayoutKey{url,
                   std::uint64_t(std::hash<std::string_view>()(*bytes)),
                   request.captureWidth,
                   request.captureHeight,
                   options.tallestPage,
                   request.deviceScale,
                   options.blockNetwork};
}

// The most CSS rows whose picture at `deviceScale` keeps within `tallest`
// rows of device pixels; at least 1.
std::int32_t tallestCssRows(std::int32_t tallest, double deviceScale) {
  return std::max<std::int32_t>(std::int32_t(std::floor(double(tallest) / deviceScale)), 1);
}

// Loads the page into a viewport of the capture size and, for a whole page,
// sets the viewport to the content's height; the viewport's height in CSS
// pixels then.
std::optional<std::int32_t> layOut(PageTarget& page, const CaptureRequest& request,
                                   const std::string& url, const Deadline& deadline) {
  const DevToolsOptions& options = request.devTools;
  const double scale = request.deviceScale;
  if (!page.setViewport(request.captureWidth, request.captureHeight, scale, deadline) ||
      (options.blockNetwork && !page.blockNetwork(deadline)) || !page.navigate(url, deadline) ||
      (options.awaitDrawing && !page.awaitDrawing(deadline))) {
    return std::nullopt;
  }
  if (!options.fullPage) return request.captureHeight;
  const std::optional<double> content = page.contentHeight(deadline);
  if (!content) return std::nullopt;
  const std::int32_t height = fullPageHeight(*content, tallestCssRows(options.tallestPage, scale));
  if (height != request.captureHeight &&
      !page.setViewport(request.captureWidth, height, scale, deadline)) {
    return std::nullopt;
  }
  return height;
}

// A page laid out for the job, with its height: the one the previous call
// kept laid out when it was laid out alike, or a new one.
std::optional<std::pair<PageLease, std::int32_t>> laidOutPage(PageSupply& pages,
                                                              const CaptureRequest& request,
                                                              const PageJob& job,
                                                              const Deadline& deadline) {
  if (job.layoutToKeep) {
    if (auto kept = pages.takeLaidOut(*job.layoutToKeep)) return kept;
  }
  std::optional<PageLease> page = pages.open(deadline);
  if (!page) return std::nullopt;
  const std::optional<std::int32_t> height = layOut(page->page(), request, job.url, deadline);
  if (!height) return std::nullopt;
  return std::pair{std::move(*page), *height};
}

// The screenshot of a laid-out page; for a height alone, the page is kept
// laid out when a picture of it is likely to follow. Any other page goes
// with its lease.
PageResult photographOrKeep(PageSupply& pages, PageLease page, std::int32_t height,
                            const PageJob& job, const Deadline& deadline) {
  PageResult result{height, std::nullopt};
  if (job.wanted == Wanted::kPicture) {
    result.png = page->screenshot(deadline);
  } else if (job.layoutToKeep) {
    pages.keepLaidOut(std::move(page), *job.layoutToKeep, height);
  }
  return result;
}

// Shows the job's page with `pages`. The next picture's page is asked for
// last, once this page's context has gone.
PageResult showPage(PageSupply& pages, const CaptureRequest& request, const PageJob& job,
                    const Deadline& deadline) {
  PageResult result;
  if (auto laidOut = laidOutPage(pages, request, job, deadline)) {
    result = photographOrKeep(pages, std::move(laidOut->first), laidOut->second, job, deadline);
  }
  pages.prepareNext(deadline);
  return result;
}

// Runs `picture` with the pages of the request's browser: the kept one, or
// with keepBrowser 0 one started for this picture and closed after it.
Shown withBrowser(const CaptureRequest& request, const Deadline& deadline,
                  const KeptBrowser::Picture& picture) {
  const std::int32_t keepSeconds = request.devTools.keepBrowserSeconds;
  if (keepSeconds > 0) {
    return KeptBrowser::ofThisModule().show(launchFor(request), std::chrono::seconds(keepSeconds),
                                            request.devTools.parallelPictures, deadline, picture,
                                            request.report);
  }
  BrowserSession::Started started =
      BrowserSession::start(launchFor(request), deadline, request.report);
  if (!started.session) return started.refusedPipe ? Shown::kBrowserRefusedPipe : Shown::kFailed;
  BrowserSession& browser = *started.session;
  bool shown = false;
  {
    PageSupply pages(browser.connection(), PageSupply::Lifetime::kOnePage);
    shown = picture(pages);
  }
  if (!shown) reportConnectionFailure(request.report, browser.connection(), browser.exitCode());
  browser.close(deadline, request.report, "a browser for one picture");
  return shown ? Shown::kShown : Shown::kFailed;
}

// What showing the document gave, and how the browser took it.
struct Showing {
  PageResult result;
  Shown shown = Shown::kFailed;
};

Showing showDocument(const CaptureRequest& request, Wanted wanted) {
  const Deadline deadline = deadlineFor(request.waitSeconds);
  const std::optional<StagedPage> page = StagedPage::forRequest(request);
  if (!page) {
    reportFailure(request.report, "the page could not be staged in the capture folder");
    return {};
  }
  const std::optional<std::string> url = fileUrl(page->path());
  if (!url) {
    reportFailure(request.report, "the page's name makes no file: URL");
    return {};
  }
  const PageJob job{*url, wanted, layoutKeyFor(request, page->path(), *url)};
  Showing showing;
  showing.shown = withBrowser(request, deadline, [&](PageSupply& pages) {
    showing.result = showPage(pages, request, job, deadline);
    return showing.result.gives(wanted);
  });
  return showing;
}

// The decoded screenshot when it is the page's, `height` device pixels high;
// else nothing, and why.
std::unique_ptr<platform::ScreenshotBitmap> pictureOf(const CaptureRequest& request,
                                                      const std::vector<std::uint8_t>& png,
                                                      std::int32_t height) {
  const std::int32_t width = request.pictureWidth();
  std::unique_ptr<platform::ScreenshotBitmap> picture =
      platform::decodePngBytes(png, width, height);
  if (!picture) {
    reportFailure(request.report, whyScreenshotDoesNotDecode(std::string_view(
                                      reinterpret_cast<const char*>(png.data()),
                                      std::min(png.size(), platform::kPngSignatureBytes))));
    return nullptr;
  }
  // A screenshot of any other size is not this page's picture.
  if (picture->width() != width || picture->height() != height) {
    reportFailure(request.report, "screenshot is ", std::to_string(picture->width()), " x ",
                  std::to_string(picture->height()), ", not the page's ", std::to_string(width),
                  " x ", std::to_string(height));
    return nullptr;
  }
  return picture;
}

}  // namespace

std::int32_t fullPageHeight(double contentHeight, std::int32_t tallest) {
  tallest = std::max<std::int32_t>(tallest, 1);
  if (std::isnan(contentHeight) || contentHeight < 1) return 1;
  if (contentHeight >= double(tallest)) return tallest;
  return std::int32_t(std::ceil(contentHeight));
}

DevToolsPicture capturePage(const CaptureRequest& request) {
  try {
    const Showing showing = showDocument(request, Wanted::kPicture);
    if (showing.shown != Shown::kShown) {
      return {nullptr, showing.shown == Shown::kBrowserRefusedPipe};
    }
    return {pictureOf(request, *showing.result.png,
                      devicePixels(*showing.result.height, request.deviceScale)),
            false};
  } catch (...) {
    // Whatever went wrong, the viewer gets a result code, never an exception.
    return {};
  }
}

void closeIdleBrowser(CaptureReport* report) {
  try {
    KeptBrowser::ofThisModule().closeIfIdle(report);
  } catch (...) {
    // A browser that could not be closed now is closed at a later call.
  }
}

void closeKeptBrowser() {
  try {
    KeptBrowser::ofThisModule().close(Deadline::after(std::chrono::seconds(5)));
  } catch (...) {
    // It goes with the module at the latest.
  }
}

DevToolsHeight measurePage(const CaptureRequest& request) {
  try {
    const Showing showing = showDocument(request, Wanted::kHeight);
    const std::optional<std::int32_t> height = showing.result.height;
    return {height ? std::optional(devicePixels(*height, request.deviceScale)) : std::nullopt,
            showing.shown == Shown::kBrowserRefusedPipe};
  } catch (...) {
    return {};
  }
}

BrowserVersion askBrowserVersion(const CaptureRequest& request) {
  try {
    const Deadline deadline = deadlineFor(request.waitSeconds);
    BrowserSession::Started started =
        BrowserSession::start(launchFor(request), deadline, request.report);
    if (!started.session) return {std::nullopt, started.refusedPipe};
    started.session->close(deadline, request.report, "it was only asked for its version");
    return {started.session->version(), false};
  } catch (...) {
    return {};
  }
}

}  // namespace ondrel::devtools
