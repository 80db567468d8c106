#include "capture/screenshot_switch/screenshot_switch_capture.h"

#include <optional>

#include "capture/screenshot_switch/browser_command_line.h"
#include "capture/screenshot_switch/browser_wait.h"
#include "capture/staging/capture_file.h"
#include "capture/staging/staged_page.h"
#include "platform/child_process.h"

namespace ondrel::screenshot_switch {
namespace {

// Markdown is always shown in the short form, with scroll bars as the page
// would have them.
CommandLineForm formFor(const StagedPage& page, bool showScrollbars) {
  return page.isStaged() || showScrollbars ? CommandLineForm::kShort : CommandLineForm::kLong;
}

// Runs the browser to its end or the limit; false when it cannot be started
// or had to be stopped.
bool runToEnd(const WideString& commandLine, const WideString& folder, std::int32_t waitSeconds) {
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

}  // namespace

std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  // The empty file keeps anything but this capture's browser from passing
  // for its picture.
  const std::optional<CaptureFile> screenshot = CaptureFile::make(request.pagePath, u".png", {});
  if (!screenshot) return nullptr;
  const std::optional<StagedPage> page = StagedPage::forRequest(request);
  if (!page) return nullptr;

  const WideString commandLine =
      browserCommandLine(formFor(*page, request.showScrollbars), request.elevation,
                         request.browserPath, request.deviceScale, request.captureWidth,
                         request.captureHeight, screenshot->path(), page->path());
  if (commandLine.size() >= kCommandLineCapacity) return nullptr;
  if (!runToEnd(commandLine, screenshot->folder(), request.waitSeconds)) return nullptr;
  return screenshot->decodePng(request.pictureWidth(), request.pictureHeight());
}

}  // namespace ondrel::screenshot_switch
