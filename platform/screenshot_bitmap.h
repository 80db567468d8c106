#ifndef ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
#define ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "text/wide_text.h"

namespace ondrel::platform {

// A decoded screenshot: 32 bits a pixel in the order blue, green, red, alpha,
// rows top-down, each exactly width * 4 bytes.
class ScreenshotBitmap {
 public:
  virtual ~ScreenshotBitmap() = default;
  virtual int width() const = 0;
  virtual int height() const = 0;
  virtual const std::uint8_t* pixels() const = 0;
};

// Decodes the top-left `maxWidth` x `maxHeight` pixels of a PNG file of any
// colour type, depth and interlacing: the bitmap is the smaller of the PNG's
// and the limit's width by the smaller of their heights, and nothing larger
// is ever allocated for pixels. Nothing when a limit is 0 or less, or the file
// is missing, unreadable, not a decodable PNG, or declares itself far larger
// than the limits (platform/screenshot_limit.h).
std::unique_ptr<ScreenshotBitmap> decodePngFile(const WideString& path, int maxWidth,
                                                int maxHeight);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
