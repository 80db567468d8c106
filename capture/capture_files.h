#ifndef ONDREL_CAPTURE_CAPTURE_FILES_H_
#define ONDREL_CAPTURE_CAPTURE_FILES_H_

#include <memory>
#include <optional>
#include <string_view>

#include "platform/private_folder.h"
#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace ondrel {

// The files of one capture in the user's capture folder: the screenshot the
// browser writes and, for a Markdown page, the page staged as HTML. Each is
// made new under a name of its own (see captureFileName), so a capture never
// writes into or reads from a file it did not make. Both are removed, the
// screenshot first, and then the folder when nothing else is in it, when the
// object goes, whatever the capture's outcome.
class CaptureFiles {
 public:
  // Holds the capture folder with an empty screenshot file in it. The file
  // keeps a concurrent capture that ends from removing the shared folder, and
  // keeps anything but this capture's browser from passing for its picture.
  // Nothing when no folder or file can be had.
  static std::optional<CaptureFiles> hold(WideView pagePath);

  CaptureFiles(CaptureFiles&&) = default;
  CaptureFiles& operator=(CaptureFiles&&) = delete;
  CaptureFiles(const CaptureFiles&) = delete;

  const WideString& folder() const { return folder_.path(); }
  const WideString& screenshotPath() const { return screenshotPath_; }

  // Writes `page`, the page to show for the document, beside the screenshot;
  // its full name, or nothing when it cannot be written.
  std::optional<WideString> stagePage(std::string_view page);

  // The screenshot, at most `maxWidth` x `maxHeight` of it; nothing when the
  // browser wrote none that decodes.
  std::unique_ptr<platform::ScreenshotBitmap> decodeScreenshot(int maxWidth, int maxHeight) const;

 private:
  CaptureFiles(platform::PrivateFolder folder, WideView pagePath, WideString screenshotName);

  platform::PrivateFolder folder_;
  WideString pagePath_;
  WideString screenshotName_;
  WideString screenshotPath_;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_CAPTURE_FILES_H_
