#ifndef ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
#define ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/bitmap_header.h"
#include "platform/wide_text.h"

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

// Decodes a PNG file of any colour type and depth into a screenshot bitmap;
// nothing when the file is missing, unreadable, not an image or too large.
std::unique_ptr<ScreenshotBitmap> decodePngFile(const WideString& path);

// Converts the screenshot into the 24-bit bottom-up picture that `header`
// describes, rows padded to 4 bytes, written to `destination` (`size` bytes).
// Pixels the screenshot does not cover are black; what lies beyond the
// picture is cut off. False when the 24-bit bitmap cannot be made.
bool copyAs24BitBottomUp(const ScreenshotBitmap& screenshot, const BitmapInfoHeader& header,
                         std::uint8_t* destination, std::size_t size);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_SCREENSHOT_BITMAP_H_
