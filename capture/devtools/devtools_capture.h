#ifndef ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_
#define ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "capture/capture_request.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel::devtools {

// capturePage for the DevTools engine: a page in the kept browser (or with
// keepBrowserSeconds 0 in a browser of its own), laid out at exactly the
// capture size (or the whole page's height) and drawn at the request's
// device scale, one screenshot of the picture's size in device pixels. The whole
// picture keeps within `waitSeconds` (0: no limit). Nothing when any step
// fails or the limit passes; the page's context, a browser of its own, its
// profile and any staged page are gone before it returns.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request);

// The height capturePage gives for this request, in device pixels, from a
// layout of the page without a screenshot; nothing when the browser fails.
std::optional<std::int32_t> measurePage(const CaptureRequest& request);

// Closes the browser kept for the next picture once it has been idle for as
// long as it was to be kept; called at every picture, whatever the engine.
void closeIdleBrowser();

// A whole page's picture height for content `contentHeight` CSS pixels high:
// whole rows, at least 1 and at most `tallest`.
std::int32_t fullPageHeight(double contentHeight, std::int32_t tallest);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_DEVTOOLS_CAPTURE_H_
