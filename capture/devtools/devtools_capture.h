#ifndef ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_
#define ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "capture/capture_request.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel::devtools {

// What a picture or a measurement of the DevTools engine came to. A browser
// that refused the pipe (it ended, or closed its pipe, before its first
// answer) gives nothing and says so, so that another engine can be tried.
struct DevToolsPicture {
  std::unique_ptr<platform::ScreenshotBitmap> picture;
  bool browserRefusedPipe = false;
};
struct DevToolsHeight {
  std::optional<std::int32_t> height;
  bool browserRefusedPipe = false;
};

// capturePage for the DevTools engine: a page in the kept browser (or with
// keepBrowserSeconds 0 in a browser of its own), laid out at exactly the
// capture size (or the whole page's height) and drawn at the request's
// device scale, one screenshot of the picture's size in device pixels. The whole
// picture keeps within `waitSeconds` (0: no limit). No picture when any step
// fails or the limit passes; the page's context, a browser of its own, its
// profile and any staged page are gone before it returns.
DevToolsPicture capturePage(const CaptureRequest& request);

// The height capturePage gives for this request, in device pixels, from a
// layout of the page without a screenshot; nothing when the browser fails.
DevToolsHeight measurePage(const CaptureRequest& request);

// Closes the browser kept for the next picture once it has been idle for as
// long as it was to be kept; called at every picture, whatever the engine.
void closeIdleBrowser(CaptureReport* report);

// Closes the kept browser now, whatever its idle time, within a few seconds.
void closeKeptBrowser();

// The product and version of the request's browser, asked over its pipe by a
// browser started for the question alone and closed again; nothing when it
// gives none, with the reason in the request's report.
struct BrowserVersion {
  std::optional<std::string> version;
  bool browserRefusedPipe = false;
};
BrowserVersion askBrowserVersion(const CaptureRequest& request);

// A whole page's picture height for content `contentHeight` CSS pixels high:
// whole rows, at least 1 and at most `tallest`.
std::int32_t fullPageHeight(double contentHeight, std::int32_t tallest);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_
