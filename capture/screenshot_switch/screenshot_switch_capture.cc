#include "capture/screenshot_switch/screenshot_switch_capture.h"

#include <optional>
#include <string>

#include "capture/screenshot_switch/browser_command_line.h"
#include "capture/screenshot_switch/browser_wait.h"
#include "capture/staging/capture_file.h"
#include "capture/staging/staged_page.h"
#include "platform/child_process.h"
#include "platform/png_headers.h"

namespace ondrel::screenshot_switch {
namespace {

// Markdown is always shown in the short form, with scroll bars as the page
// would have them.
CommandLineForm formFor(const StagedPage& page, bool showScrollbars) {
  return page.isStaged() || showScrollbars ? CommandLineForm::kShort : CommandLineForm::kLong;
}

// How a browser's run ended: nothing when it could not be started or had to
// be stopped, else its exit code.
std::optional<std::uint32_t> runToEnd(const CaptureRequest& request, const WideString& commandLine,
                                      const WideString& folder) {
  CaptureReport* report = request.report;
  const std::string browserName = wideToUtf8(request.browserPath);
  std::optional<platform::ChildProcess> browser =
      platform::ChildProcess::start(commandLine, folder);
  if (!browser) {
    reportFailure(report, "browser could not be started: ", browserName);
    return std::nullopt;
  }
  reportEvent(report, "browser started for one picture: ", browserName);
  const BrowserWait outcome =
      waitForBrowser([&] { return browser->primaryThreadState(); },
                     [] { platform::sleepMilliseconds(kPollMilliseconds); }, request.waitSeconds);
  if (outcome == BrowserWait::kTimedOut) {
    browser->terminateAndWait();
    reportEvent(report, "browser stopped at the time limit");
    reportFailure(report, "no picture after ", std::to_string(request.waitSeconds),
                  " s: browser stopped");
    return std::nullopt;
  }
  const std::optional<platform::ThreadState> state = browser->primaryThreadState();
  const std::uint32_t exitCode = state ? state->exitCode() : 0;
  reportEvent(report, "browser ended with code ", std::to_string(exitCode));
  return exitCode;
}

// Why a browser that ended left no picture that decodes.
std::string whyNoPicture(const CaptureFile& screenshot, std::uint32_t exitCode) {
  const std::optional<std::string> head = screenshot.head(platform::kPngSignatureBytes);
  if (!head || head->empty()) {
    return "browser exited with code " + std::to_string(exitCode) + " before the screenshot";
  }
  return whyScreenshotDoesNotDecode(*head);
}

}  // namespace

std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  CaptureReport* report = request.report;
  // The empty file keeps anything but this capture's browser from passing
  // for its picture.
  const std::optional<CaptureFile> screenshot = CaptureFile::make(request.pagePath, u".png", {});
  if (!screenshot) {
    reportFailure(report, "the capture folder could not be used");
    return nullptr;
  }
  const std::optional<StagedPage> page = StagedPage::forRequest(request);
  if (!page) {
    reportFailure(report, "the page could not be staged in the capture folder");
    return nullptr;
  }

  const WideString commandLine =
      browserCommandLine(formFor(*page, request.showScrollbars), request.elevation,
                         request.browserPath, request.deviceScale, request.captureWidth,
                         request.captureHeight, screenshot->path(), page->path());
  if (commandLine.size() >= kCommandLineCapacity) {
    reportFailure(report, "the browser's command line would be longer than ",
                  std::to_string(kCommandLineCapacity - 1), " characters");
    return nullptr;
  }
  const std::optional<std::uint32_t> exitCode =
      runToEnd(request, commandLine, screenshot->folder());
  if (!exitCode) return nullptr;
  std::unique_ptr<platform::ScreenshotBitmap> picture =
      screenshot->decodePng(request.pictureWidth(), request.pictureHeight());
  if (!picture) reportFailure(report, whyNoPicture(*screenshot, *exitCode));
  return picture;
}

}  // namespace ondrel::screenshot_switch
