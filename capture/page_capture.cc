#include "capture/page_capture.h"

#include "capture/devtools/devtools_capture.h"
#include "capture/engine_fallback.h"
#include "capture/screenshot_switch/screenshot_switch_capture.h"

namespace ondrel {
namespace {

// What every call does first, whatever its engine.
CaptureEngine beginCall(const CaptureRequest& request) {
  if (request.report != nullptr) request.report->limitIs(request.waitSeconds);
  devtools::closeIdleBrowser(request.report);
  const CaptureEngine engine = EngineFallback::ofThisModule().engineFor(request);
  if (request.report != nullptr) request.report->tookWith(engineName(engine));
  return engine;
}

// The DevTools engine's picture, or nothing; one its browser refused to take
// goes to the one-shot engine, which needs no pipe.
std::unique_ptr<platform::ScreenshotBitmap> devToolsPicture(const CaptureRequest& request) {
  devtools::DevToolsPicture taken = devtools::capturePage(request);
  if (!taken.browserRefusedPipe) return std::move(taken.picture);
  EngineFallback::ofThisModule().browserRefusedPipe(request);
  if (request.report != nullptr) {
    request.report->tookWith(engineName(CaptureEngine::kScreenshotSwitch));
  }
  return screenshot_switch::capturePage(request);
}

}  // namespace

// The one place where the engine is chosen.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  switch (beginCall(request)) {
    case CaptureEngine::kDevTools:
      return devToolsPicture(request);
    case CaptureEngine::kScreenshotSwitch:
      break;
  }
  return screenshot_switch::capturePage(request);
}

// A one-shot picture is as high as the capture, which is all there is to
// measure when the DevTools engine's browser refuses its pipe.
std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request) {
  if (beginCall(request) != CaptureEngine::kDevTools) {
    return request.engine == CaptureEngine::kDevTools ? std::optional(request.pictureHeight())
                                                      : std::nullopt;
  }
  const devtools::DevToolsHeight measured = devtools::measurePage(request);
  if (!measured.browserRefusedPipe) return measured.height;
  EngineFallback::ofThisModule().browserRefusedPipe(request);
  return request.pictureHeight();
}

std::optional<std::string> browserVersion(const CaptureRequest& request, bool& refusedPipe) {
  if (request.report != nullptr) request.report->limitIs(request.waitSeconds);
  const devtools::BrowserVersion asked = devtools::askBrowserVersion(request);
  refusedPipe = asked.browserRefusedPipe;
  return asked.version;
}

void closeKeptBrowser() { devtools::closeKeptBrowser(); }

}  // namespace ondrel
