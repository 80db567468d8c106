#include "plugin/bottom_up_copy.h"

#include <algorithm>
#include <cstring>

namespace ondrel {

bool copyAs24BitBottomUp(const platform::ScreenshotBitmap& screenshot,
                         const BitmapInfoHeader& header, std::uint8_t* destination,
                         std::size_t size) {
  if (header.width <= 0 || header.height == 0) return false;
  const std::size_t width = std::size_t(header.width);
  const std::size_t rows =
      std::size_t(header.height < 0 ? -std::int64_t(header.height) : std::int64_t(header.height));
  const std::size_t stride = rowStride24(width);
  if (size < stride * rows) return false;

  std::memset(destination, 0, stride * rows);
  const std::size_t copiedWidth = std::min<std::size_t>(width, std::size_t(screenshot.width()));
  const std::size_t copiedRows = std::min<std::size_t>(rows, std::size_t(screenshot.height()));
  const std::size_t sourceStride = std::size_t(screenshot.width()) * 4;
  for (std::size_t y = 0; y < copiedRows; ++y) {
    const std::uint8_t* source = screenshot.pixels() + y * sourceStride;
    const std::size_t row = header.height > 0 ? rows - 1 - y : y;
    std::uint8_t* target = destination + row * stride;
    for (std::size_t x = 0; x < copiedWidth; ++x) {
      std::memcpy(target + x * 3, source + x * 4, 3);
    }
  }
  return true;
}

}  // namespace ondrel
