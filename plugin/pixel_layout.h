#ifndef ONDREL_PLUGIN_PIXEL_LAYOUT_H_
#define ONDREL_PLUGIN_PIXEL_LAYOUT_H_

#include <cstdint>
#include <optional>

#include "capture/svg/picture_size.h"
#include "plugin/bitmap_header.h"

namespace ondrel {

// The shape of the 24-bit bottom-up picture handed to the viewer: rows of
// 3 bytes a pixel, each padded to a multiple of 4 bytes.
struct PixelLayout {
  std::int32_t width;
  std::int32_t height;
  std::int32_t stride;
  std::int32_t blockSize;

  // Nothing unless both sides are positive and the pixel block's size fits a
  // positive 32-bit integer, the largest the viewer's bitmap can describe.
  static std::optional<PixelLayout> of(PictureSize size);

  // The most rows a picture `width` pixels wide may have; nothing unless
  // the width is positive and one row fits.
  static std::optional<std::int32_t> tallestFor(std::int32_t width);

  BitmapInfoHeader header() const;
};

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_PIXEL_LAYOUT_H_
