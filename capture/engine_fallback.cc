#include "capture/engine_fallback.h"

#include <string>

namespace ondrel {

EngineFallback& EngineFallback::ofThisModule() {
  // Kept between calls like the kept browser, and gone at unload with it.
  static EngineFallback fallback;
  return fallback;
}

CaptureEngine EngineFallback::engineFor(const CaptureRequest& request) {
  if (request.engine != CaptureEngine::kDevTools) return request.engine;
  const std::lock_guard lock(mutex_);
  if (refusingBrowser_.empty()) return request.engine;
  // Another browser is given its chance.
  if (refusingBrowser_ != request.browserPath) {
    refusingBrowser_.clear();
    return request.engine;
  }
  return CaptureEngine::kScreenshotSwitch;
}

void EngineFallback::browserRefusedPipe(const CaptureRequest& request) {
  CaptureReport* report = request.report;
  // The one-shot engine's own failure, if any, is what the call ends with.
  const std::string why = report != nullptr ? report->takeFailure() : std::string();
  {
    const std::lock_guard lock(mutex_);
    if (refusingBrowser_ == request.browserPath) return;
    refusingBrowser_ = request.browserPath;
  }
  reportEvent(report, "the browser refuses the DevTools pipe (", why,
              "; too old for it, or remote debugging forbidden by a policy): its pictures are ",
              "taken with the one-shot engine until Chrome names another browser");
}

}  // namespace ondrel
