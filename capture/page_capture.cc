#include "capture/page_capture.h"

#include "capture/devtools/devtools_capture.h"
#include "capture/screenshot_switch/screenshot_switch_capture.h"

namespace ondrel {

// The one place where the engine is chosen.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  devtools::closeIdleBrowser();
  switch (request.engine) {
    case CaptureEngine::kDevTools:
      return devtools::capturePage(request);
    case CaptureEngine::kScreenshotSwitch:
      break;
  }
  return screenshot_switch::capturePage(request);
}

std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request) {
  devtools::closeIdleBrowser();
  if (request.engine != CaptureEngine::kDevTools) return std::nullopt;
  return devtools::measurePage(request);
}

}  // namespace ondrel
