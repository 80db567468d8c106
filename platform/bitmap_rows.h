#ifndef ONDREL_PLATFORM_BITMAP_ROWS_H_
#define ONDREL_PLATFORM_BITMAP_ROWS_H_

#include <cstddef>

namespace ondrel {

// The bytes a row of a 24-bit device-independent bitmap takes: 3 a pixel,
// padded to a multiple of 4, as the viewer and the system expect them.
constexpr std::size_t rowStride24(std::size_t width) { return (width * 3 + 3) & ~std::size_t(3); }

}  // namespace ondrel

#endif  // ONDREL_PLATFORM_BITMAP_ROWS_H_
