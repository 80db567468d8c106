#ifndef ONDREL_CAPTURE_SVG_SVG_SIZE_PROBE_H_
#define ONDREL_CAPTURE_SVG_SVG_SIZE_PROBE_H_

#include <cstdint>
#include <optional>
#include <span>

#include "capture/svg/picture_size.h"

namespace ondrel {

// The drawing's own size in whole pixels, or nothing when the text cannot be
// measured at all. Text holding no SVG drawing measures 0 by 0. The bytes need
// no terminating NUL and are left unchanged.
std::optional<PictureSize> probeSvgSize(std::span<const std::uint8_t> imageBytes);

// Rounds a measured length up to whole pixels. Lengths beyond the 32-bit range
// (infinities included) saturate to its ends; NaN gives nothing.
std::optional<std::int32_t> ceilToWholePixels(float pixels);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_SVG_SIZE_PROBE_H_
