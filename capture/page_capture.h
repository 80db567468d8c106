#ifndef ONDREL_CAPTURE_PAGE_CAPTURE_H_
#define ONDREL_CAPTURE_PAGE_CAPTURE_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "capture/browser_command_line.h"
#include "capture/markdown_staging.h"
#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace ondrel {

// How the browser is driven: started once with "--screenshot" for each
// picture, or over the DevTools protocol (docs/devtools-engine.md).
enum class CaptureEngine { kScreenshotSwitch, kDevTools };

struct CaptureRequest {
  CaptureEngine engine = CaptureEngine::kScreenshotSwitch;
  WideString browserPath;  // known to exist
  WideString pagePath;     // the viewer's file name
  std::int32_t captureWidth = 0;
  std::int32_t captureHeight = 0;
  bool showScrollbars = false;
  std::int32_t waitSeconds = 5;  // 0: no limit
  // The caller's process, which the browser's command line must reckon with.
  Elevation elevation = Elevation::kNone;
  // Makes the staged page of a Markdown document.
  MarkdownConverter convertMarkdown = stagedPageText;
  // DevTools engine only: the picture is as tall as the page's content, at
  // most `tallestPage` rows, instead of `captureHeight`.
  bool fullPage = false;
  std::int32_t tallestPage = 0;
  // DevTools engine only: idle seconds the browser is kept for the next
  // picture (docs/warm-browser.md); 0 closes it with the picture.
  std::int32_t keepBrowserSeconds = 0;
  // DevTools engine only: the page may load file: and data: resources only.
  bool blockNetwork = false;
};

// Runs the browser headless on the page (a Markdown page staged as HTML
// first), waits for it within the limit and returns the decoded screenshot,
// or nothing. No temporary file outlives the call, whatever its outcome.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request);

// The height of the picture capturePage gives for a whole page, found by
// laying the page out without taking a picture; nothing when the engine
// cannot tell (not the DevTools engine, or the browser failed).
std::optional<std::int32_t> measurePageHeight(const CaptureRequest& request);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_CAPTURE_H_
