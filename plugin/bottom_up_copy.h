#ifndef ONDREL_PLUGIN_BOTTOM_UP_COPY_H_
#define ONDREL_PLUGIN_BOTTOM_UP_COPY_H_

#include <cstddef>
#include <cstdint>

#include "platform/screenshot_bitmap.h"
#include "plugin/bitmap_header.h"

namespace ondrel {

// Converts the screenshot into the 24-bit bottom-up picture that `header`
// describes, rows padded to 4 bytes, written to `destination` (`size` bytes).
// Pixels the screenshot does not cover are black; what lies beyond the
// picture is cut off. False when the 24-bit bitmap cannot be made.
bool copyAs24BitBottomUp(const platform::ScreenshotBitmap& screenshot,
                         const BitmapInfoHeader& header, std::uint8_t* destination,
                         std::size_t size);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_BOTTOM_UP_COPY_H_
