#ifndef ONDREL_CAPTURE_STAGING_CAPTURE_FILE_H_
#define ONDREL_CAPTURE_STAGING_CAPTURE_FILE_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/private_folder.h"
#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace ondrel {

// One file of a capture in the user's capture folder: the screenshot the
// one-shot browser writes, or a page staged for the browser. It is made new
// under a name of its own (see captureFileName), so a capture never writes
// into or reads from a file it did not make. The file keeps a concurrent
// capture that ends from removing the shared folder. It is removed, and then
// the folder when nothing else is in it, when the object goes, whatever the
// capture's outcome.
class CaptureFile {
 public:
  // Makes the file for the page `pagePath`, with `extension` in place of the
  // page's own, holding `bytes`. Nothing when no folder or file can be had.
  static std::optional<CaptureFile> make(WideView pagePath, WideView extension,
                                         std::string_view bytes);

  CaptureFile(CaptureFile&&) = default;
  CaptureFile& operator=(CaptureFile&&) = delete;
  CaptureFile(const CaptureFile&) = delete;

  const WideString& folder() const { return folder_.path(); }
  // The file's full name.
  const WideString& path() const { return path_; }

  // The file as a PNG picture, at most `maxWidth` x `maxHeight` of it;
  // nothing when it holds none that decodes.
  std::unique_ptr<platform::ScreenshotBitmap> decodePng(int maxWidth, int maxHeight) const;

  // The file's first `count` bytes, fewer when it is shorter; nothing when
  // it is gone or no plain file any more.
  std::optional<std::string> head(std::size_t count) const;

 private:
  CaptureFile(platform::PrivateFolder folder, WideString name);

  platform::PrivateFolder folder_;
  WideString name_;
  WideString path_;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_CAPTURE_FILE_H_
