#ifndef ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
#define ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/bitmap_header.h"
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

// Converts the screenshot into the 24-bit bottom-up picture that `header`
// describes, rows padded to 4 bytes, written to `destination` (`size` bytes).
// Pixels the screenshot does not cover are black; what lies beyond the
// picture is cut off. False when the 24-bit bitmap cannot be made.
bool copyAs24BitBottomUp(const ScreenshotBitmap& screenshot, const BitmapInfoHeader& header,
                         std::uint8_t* destination, std::size_t size);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
