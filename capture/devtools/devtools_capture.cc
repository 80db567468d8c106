#include "capture/devtools/devtools_capture.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "capture/capture_files.h"
#include "capture/devtools/browser_session.h"
#include "capture/devtools/file_url.h"
#include "capture/devtools/kept_browser.h"
#include "capture/devtools/page_target.h"
#include "capture/page_kinds.h"

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

// The URL of the page to show: the file itself, or for a Markdown document
// the page staged for it, which `files` then holds.
std::optional<std::string> urlToShow(const CaptureRequest& request,
                                     std::optional<CaptureFiles>& files) {
  if (pageKindOf(request.pagePath) != PageKind::kMarkdown) return fileUrl(request.pagePath);
  std::optional<CaptureFiles> held = CaptureFiles::hold(request.pagePath);
  if (!held) return std::nullopt;
  files.emplace(std::move(*held));
  const std::optional<WideString> staged =
      stageMarkdown(request.pagePath, *files, request.convertMarkdown);
  if (!staged) return std::nullopt;
  return fileUrl(*staged);
}

// Loads the page into a viewport of the capture size and, for a whole page,
// sets the viewport to the content's height; the viewport's height then.
std::optional<std::int32_t> layOut(PageTarget& page, const CaptureRequest& request,
                                   const std::string& url, const Deadline& deadline) {
  if (!page.setViewport(request.captureWidth, request.captureHeight, deadline) ||
      !page.navigate(url, deadline)) {
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

// Shows the page in a new target of `browser`: its height and, when asked
// for, its screenshot. A kept browser's target is closed again, so that the
// next picture starts from a browser without pages.
PageRun showPage(BrowserSession& browser, const CaptureRequest& request, const std::string& url,
                 bool takeScreenshot, const Deadline& deadline) {
  PageRun run;
  std::optional<PageTarget> page = PageTarget::open(browser.connection(), deadline);
  if (!page) return run;
  run.height = layOut(*page, request, url, deadline);
  if (run.height && takeScreenshot) run.png = page->screenshot(deadline);
  if (request.keepBrowserSeconds > 0) page->close(deadline);
  return run;
}

bool succeeded(const PageRun& run, bool takeScreenshot) {
  return run.height && (!takeScreenshot || run.png);
}

PageRun runBrowser(const CaptureRequest& request, bool takeScreenshot) {
  const Deadline deadline = deadlineFor(request.waitSeconds);
  std::optional<CaptureFiles> files;
  const std::optional<std::string> url = urlToShow(request, files);
  if (!url) return {};
  PageRun run;
  if (request.keepBrowserSeconds > 0) {
    KeptBrowser::ofThisModule().show(
        launchFor(request), std::chrono::seconds(request.keepBrowserSeconds), deadline,
        [&](BrowserSession& browser) {
          run = showPage(browser, request, *url, takeScreenshot, deadline);
          return succeeded(run, takeScreenshot);
        });
    return run;
  }
  const std::unique_ptr<BrowserSession> browser = BrowserSession::start(launchFor(request));
  if (!browser) return {};
  run = showPage(*browser, request, *url, takeScreenshot, deadline);
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
