#include "capture/page_capture.h"

#include "capture/browser_command_line.h"
#include "capture/browser_wait.h"
#include "capture/capture_names.h"
#include "capture/markdown_staging.h"
#include "capture/screenshot_decoder.h"
#include "capture/temporary_files.h"
#include "platform/child_process.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

bool isMarkdownPage(WideView pagePath) {
  return equalsIgnoringAsciiCase(platform::findExtension(pagePath), u".md");
}

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
      waitForBrowser([&] { return browser->primaryThreadExitCode(); },
                     [] { platform::sleepMilliseconds(kPollMilliseconds); }, waitSeconds);
  if (outcome == BrowserWait::kTimedOut) {
    browser->terminateAndWait();
    return false;
  }
  return true;
}

}  // namespace

std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  const bool markdown = isMarkdownPage(request.pagePath);
  const std::optional<CaptureNames> names = makeCaptureNames(request.pagePath, markdown);
  if (!names) return nullptr;
  platform::createDirectory(names->captureFolder);

  // Registered before anything is written, so every way out cleans up; the
  // screenshot goes first, then the staged page, then the folder.
  TemporaryFiles temporaryFiles(names->captureFolder);
  temporaryFiles.add(names->screenshotPath);
  // A leftover file under this name must never pass for this page's picture.
  platform::deleteFile(names->screenshotPath);

  WideString page = request.pagePath;
  if (markdown) {
    temporaryFiles.add(names->stagedPagePath);
    if (!stageMarkdown(request.pagePath, names->stagedPagePath, request.convertMarkdown))
      return nullptr;
    page = names->stagedPagePath;
  }

  const WideString commandLine =
      browserCommandLine(formFor(markdown, request.showScrollbars), request.browserPath,
                         request.captureWidth, request.captureHeight, names->screenshotPath, page);
  if (commandLine.size() >= kCommandLineCapacity) return nullptr;
  if (!runBrowser(commandLine, names->captureFolder, request.waitSeconds)) return nullptr;
  return decodeScreenshot(names->screenshotPath);
}

}  // namespace ondrel
