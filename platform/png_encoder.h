#ifndef ONDREL_PLATFORM_PNG_ENCODER_H_
#define ONDREL_PLATFORM_PNG_ENCODER_H_

#include <cstddef>
#include <cstdint>

#include "text/wide_text.h"

namespace ondrel::platform {

// Writes a PNG file of `width` x `height` pixels from 24-bit rows as a viewer
// holds them: bottom row first, each pixel blue, green, red, rows `stride`
// bytes apart. The file is made or replaced; false when the picture is empty
// or cannot be encoded, or the file cannot be written.
bool writePngFile(const WideString& path, int width, int height,
                  const std::uint8_t* bgrBottomUpRows, std::size_t stride);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PNG_ENCODER_H_
