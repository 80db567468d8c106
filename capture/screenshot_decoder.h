#ifndef ONDREL_CAPTURE_SCREENSHOT_DECODER_H_
#define ONDREL_CAPTURE_SCREENSHOT_DECODER_H_

#include <memory>

#include "platform/screenshot_bitmap.h"

namespace ondrel {

// The screenshot the browser wrote, as a 32-bit top-down bitmap of at most the
// capture size (`maxWidth` x `maxHeight`); nothing when the file is missing or
// does not decode.
std::unique_ptr<platform::ScreenshotBitmap> decodeScreenshot(const WideString& screenshotPath,
                                                             int maxWidth, int maxHeight);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SCREENSHOT_DECODER_H_
