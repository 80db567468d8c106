#include "capture/screenshot_decoder.h"

namespace ondrel {

std::unique_ptr<platform::ScreenshotBitmap> decodeScreenshot(const WideString& screenshotPath) {
  return platform::decodePngFile(screenshotPath);
}

}  // namespace ondrel
