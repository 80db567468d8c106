#ifndef ONDREL_CAPTURE_SCREENSHOT_SWITCH_SCREENSHOT_SWITCH_CAPTURE_H_
#define ONDREL_CAPTURE_SCREENSHOT_SWITCH_SCREENSHOT_SWITCH_CAPTURE_H_

#include <memory>

#include "capture/capture_request.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel::screenshot_switch {

// capturePage for the one-shot engine: the browser is started once on the
// page with "--screenshot", waited for within the limit, and the PNG it
// wrote into the capture folder is decoded. Nothing when it could not be
// started, had to be stopped or wrote no picture; the screenshot file and
// any staged page are gone before it returns.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request);

}  // namespace ondrel::screenshot_switch

#endif  // ONDREL_CAPTURE_SCREENSHOT_SWITCH_SCREENSHOT_SWITCH_CAPTURE_H_
