#ifndef ONDREL_CAPTURE_PAGE_CAPTURE_H_
#define ONDREL_CAPTURE_PAGE_CAPTURE_H_

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

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
// When the DevTools engine's browser refuses its pipe, both take the picture
// with the one-shot engine instead, from then on until `Chrome` changes
// (capture/engine_fallback.h).
std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request);

// The product and version of the request's browser, asked over the DevTools
// pipe whatever the request's engine; nothing when it gives none, with the
// reason in the request's report, and `refusedPipe` set when it ended or
// closed its pipe before answering.
std::optional<std::string> browserVersion(const CaptureRequest& request, bool& refusedPipe);

// Closes the browser kept for the next picture now, for a program that is
// done with pictures.
void closeKeptBrowser();

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_CAPTURE_H_
