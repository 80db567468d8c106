#include "capture/page_capture.h"

#include "capture/browser_command_line.h"
#include "capture/browser_wait.h"
#include "capture/capture_names.h"
#include "capture/markdown_staging.h"
#include "capture/screenshot_decoder.h"
#include "capture/temporary_files.h"
#include "platform/child_process.h"
#include "platform/files.h"
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

// Makes the capture folder and an empty screenshot file in it. The file holds
// the folder: a capture that ends meanwhile removes the shared folder only
// while it is empty, so making both is retried until both stand. The empty
// file also keeps a leftover of the same name from passing for this page's
// picture when the browser writes none.
bool holdCaptureFolder(const CaptureNames& names) {
  constexpr int kAttempts = 16;
  for (int attempt = 0; attempt < kAttempts; ++attempt) {
    platform::createDirectory(names.captureFolder);
    if (platform::writeFileBytes(names.screenshotPath, {})) return true;
  }
  return false;
}

}  // namespace

std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request) {
  const bool markdown = isMarkdownPage(request.pagePath);
  const std::optional<CaptureNames> names = makeCaptureNames(request.pagePath, markdown);
  if (!names) return nullptr;
  // Registered before anything is written, so every way out cleans up; the
  // screenshot goes first, then the staged page, then the folder.
  TemporaryFiles temporaryFiles(names->captureFolder);
  temporaryFiles.add(names->screenshotPath);
  if (!holdCaptureFolder(*names)) return nullptr;

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
  return decodeScreenshot(names->screenshotPath, request.captureWidth, request.captureHeight);
}

}  // namespace ondrel
