#include "capture/page_capture.h"

#include "capture/browser_wait.h"
#include "capture/capture_files.h"
#include "capture/devtools/devtools_capture.h"
#include "capture/page_kinds.h"
#include "platform/child_process.h"

namespace ondrel {
namespace {

// Markdown is always shown in the short form, with scroll bars as the page
// would have them.
CommandLineForm formFor(bool markdown, bool showScrollbars) {
  return markdown || showScrollbars ? CommandLineForm::kShort : CommandLineForm::kLong;
}

// Runs the browser to its end or the limit; false when it cannot be started
// or had to be stopped.
bool runBrowser(const WideString& commandLine, const WideString& folder, std::int32_t waitSeconds) {
  std::optional<platform::ChildProcess> browser =
      platform::ChildProcess::start(commandLine, folder);
  if (!browser) return false;
  const BrowserWait outcome =
      waitForBrowser([&] { return browser->primaryThreadState(); },
                     [] { platform::sleepMilliseconds(kPollMilliseconds); }, waitSeconds);
  if (outcome == BrowserWait::kTimedOut) {
    browser->terminateAndWait();
    return false;
  }
  return true;
}

std::unique_ptr<platform::ScreenshotBitmap> captureWithScreenshotSwitch(
    const CaptureRequest& request) {
  const bool markdown = pageKindOf(request.pagePath) == PageKind::kMarkdown;
  std::optional<CaptureFiles> files = CaptureFiles::hold(request.pagePath);
  if (!files) return nullptr;

  WideString page = request.pagePath;
  if (markdown) {
    std::optional<WideString> staged =
        stageMarkdown(request.pagePath, *files, request.convertMarkdown);
    if (!staged) return nullptr;
    page = std::move(*staged);
  }

  const WideString commandLine = browserCommandLine(
      formFor(markdown, request.showScrollbars), request.elevation, request.browserPath,
      request.captureWidth, request.captureHeight, files->screenshotPath(), page);
  if (commandLine.size() >= kCommandLineCapacity) return nullptr;
  if (!runBrowser(commandLine, files->folder(), request.waitSeconds)) return nullptr;
  return files->decodeScreenshot(request.captureWidth, request.captureHeight);
}

}  // namespace

// The one place where the engine is chosen.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  devtools::closeIdleBrowser();
  switch (request.engine) {
    case CaptureEngine::kDevTools:
      return devtools::capturePage(request);
    case CaptureEngine::kScreenshotSwitch:
      break;
  }
  return captureWithScreenshotSwitch(request);
}

std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request) {
  devtools::closeIdleBrowser();
  if (request.engine != CaptureEngine::kDevTools) return std::nullopt;
  return devtools::measurePage(request);
}

}  // namespace ondrel
