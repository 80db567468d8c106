#ifndef ONDREL_CAPTURE_CAPTURE_NAMES_H_
#define ONDREL_CAPTURE_CAPTURE_NAMES_H_

#include <optional>

#include "platform/wide_text.h"

namespace ondrel {

// Where one capture keeps its files: the folder "ondrel" in the user's
// temporary folder, and in it the screenshot and, for a Markdown page, the
// page staged as HTML. Both are named after the page's final name plus a tag
// of the process and thread, so concurrent captures of pages that share a
// name never touch each other's files.
struct CaptureNames {
  WideString captureFolder;
  WideString screenshotPath;
  WideString stagedPagePath;  // empty unless the page is staged
};

// Nothing when a name would not fit a path buffer.
std::optional<CaptureNames> makeCaptureNames(WideView pagePath, bool stagesPage);

// The file in `folder` for the page `pagePath` with `extension` in place of
// its own: "C:\docs\notes.md" gives "notes-<process>-<thread>.htm".
std::optional<WideString> captureFileName(WideView folder, WideView pagePath, WideView extension);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_CAPTURE_NAMES_H_
