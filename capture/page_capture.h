#ifndef ONDREL_CAPTURE_PAGE_CAPTURE_H_
#define ONDREL_CAPTURE_PAGE_CAPTURE_H_

#include <cstdint>
#include <memory>

#include "capture/browser_command_line.h"
#include "capture/markdown_staging.h"
#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace ondrel {

struct CaptureRequest {
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
};

// Runs the browser headless on the page (a Markdown page staged as HTML
// first), waits for it within the limit and returns the decoded screenshot,
// or nothing. No temporary file outlives the call, whatever its outcome.
std::unique_ptr<platform::ScreenshotBitmap> capturePage(const CaptureRequest& request);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_PAGE_CAPTURE_H_
