#include "capture/screenshot_decoder.h"

namespace ondrel {

std::unique_ptr<platform::ScreenshotBitmap> decodeScreenshot(const WideString& screenshotPath,
                                                             int maxWidth, int maxHeight) {
  return platform::decodePngFile(screenshotPath, maxWidth, maxHeight);
}

}  // namespace ondrel
