#include "capture/svg/svg_size_probe.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <new>

#include "capture/svg/svg_dimensions.h"

namespace ondrel {

std::optional<PictureSize> probeSvgSize(std::span<const std::uint8_t> imageBytes) {
  // The reader wants NUL-terminated text and may write into it, so it only
  // ever sees a private copy.
  std::unique_ptr<char[]> text(new (std::nothrow) char[imageBytes.size() + 1]);
  if (!text) return std::nullopt;
  std::copy(imageBytes.begin(), imageBytes.end(), text.get());
  text[imageBytes.size()] = '\0';

  const std::optional<SvgDimensions> dimensions = measureSvgDimensions(text.get());
  if (!dimensions) return std::nullopt;
  const std::optional<std::int32_t> width = ceilToWholePixels(dimensions->width);
  const std::optional<std::int32_t> height = ceilToWholePixels(dimensions->height);
  if (!width || !height) return std::nullopt;
  return PictureSize{*width, *height};
}

std::optional<std::int32_t> ceilToWholePixels(float pixels) {
  using Limits = std::numeric_limits<std::int32_t>;
  if (std::isnan(pixels)) return std::nullopt;
  // Converting a double outside the target range is undefined, so the ends
  // are checked first; 2^31 and -2^31 are exact in double precision.
  const double whole = std::ceil(static_cast<double>(pixels));
  if (whole >= -static_cast<double>(Limits::min())) return Limits::max();
  if (whole < static_cast<double>(Limits::min())) return Limits::min();
  return static_cast<std::int32_t>(whole);
}

}  // namespace ondrel
