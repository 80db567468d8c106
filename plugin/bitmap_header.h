#ifndef ONDREL_PLUGIN_BITMAP_HEADER_H_
#define ONDREL_PLUGIN_BITMAP_HEADER_H_

#include <cstddef>
#include <cstdint>

namespace ondrel {

// The 40-byte device-independent bitmap header as the viewer reads it.
struct BitmapInfoHeader {
  std::uint32_t size = 40;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows bottom-up
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 24;
  std::uint32_t compression = 0;  // uncompressed RGB
  std::uint32_t sizeImage = 0;
  std::int32_t xPelsPerMeter = 0;
  std::int32_t yPelsPerMeter = 0;
  std::uint32_t clrUsed = 0;
  std::uint32_t clrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);

// The bytes a row of a 24-bit device-independent bitmap takes: 3 a pixel,
// padded to a multiple of 4, as the viewer and the system expect them.
constexpr std::size_t rowStride24(std::size_t width) { return (width * 3 + 3) & ~std::size_t(3); }

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_BITMAP_HEADER_H_
