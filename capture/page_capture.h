#ifndef ONDREL_CAPTURE_PAGE_CAPTURE_H_
#define ONDREL_CAPTURE_PAGE_CAPTURE_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "capture/capture_request.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel {

// Runs the browser headless on the page (a Markdown page staged as HTML
// first), waits for it within the limit and returns the decoded screenshot,
// or nothing. No temporary file outlives the call, whatever its outcome.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request);

// The height of the picture capturePage gives for a whole page, found by
// laying the page out without taking a picture; nothing when the engine
// cannot tell (not the DevTools engine, or the browser failed).
std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_CAPTURE_H_
