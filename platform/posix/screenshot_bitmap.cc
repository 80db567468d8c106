#include "platform/screenshot_bitmap.h"

#include <optional>

#include "platform/files.h"
#include "platform/posix/png_decoder.h"

namespace ondrel::platform {

std::unique_ptr<ScreenshotBitmap> decodePngFile(const WideString& path, int maxWidth,
                                                int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0) return nullptr;
  const std::optional<ReadableFile> file = ReadableFile::open(path);
  if (!file) return nullptr;
  return decodePngDescriptor(int(file->nativeHandle()), maxWidth, maxHeight);
}

}  // namespace ondrel::platform
