#include "plugin/pixel_layout.h"

#include <limits>


namespace ondrel {

std::optional<PixelLayout> PixelLayout::of(PictureSize size) {
  if (size.width <= 0 || size.height <= 0) return std::nullopt;
  constexpr std::int64_t kLargestBlock = std::numeric_limits<std::int32_t>::max();
  const std::int64_t stride = std::int64_t(rowStride24(std::size_t(size.width)));
  if (stride > kLargestBlock / size.height) return std::nullopt;
  const std::int64_t blockSize = stride * size.height;
  return PixelLayout{size.width, size.height, std::int32_t(stride), std::int32_t(blockSize)};
}

BitmapInfoHeader PixelLayout::header() const {
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = 24;
  return header;
}

}  // namespace ondrel
