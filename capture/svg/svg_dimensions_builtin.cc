// Measures a drawing from its root element's width, height and viewBox
// attributes, without building a document: the XML scanner finds them, then
// their references are decoded and their numbers parsed.
#include <limits>
#include <new>
#include <optional>
#include <string_view>
#include <utility>

#include "capture/svg/entity_decoding.h"
#include "capture/svg/number_parsing.h"
#include "capture/svg/svg_dimensions.h"
#include "capture/svg/xml_scanning.h"

namespace ondrel {
namespace {

std::pair<double, double> viewBoxSize(const std::optional<std::string_view>& attribute) {
  return attribute ? parseViewBoxSize(decodeReferences(*attribute)) : std::pair{0.0, 0.0};
}

// Narrows to a float; values beyond its range become infinities instead of
// undefined behaviour.
float toFloat(double value) {
  constexpr double kLargest = std::numeric_limits<float>::max();
  if (value > kLargest) return std::numeric_limits<float>::infinity();
  if (value < -kLargest) return -std::numeric_limits<float>::infinity();
  return static_cast<float>(value);
}

// Like nanosvg, a side that is missing or measures 0 takes the view box's.
float sideLength(const std::optional<std::string_view>& attribute, double viewBoxSide) {
  const std::optional<double> length =
      attribute ? parseLength(decodeReferences(*attribute)) : std::nullopt;
  const float pixels = length ? toFloat(*length) : 0.0f;
  return pixels != 0.0f ? pixels : toFloat(viewBoxSide);
}

SvgDimensions measureRootElement(const char* text) {
  const std::optional<SizeAttributes> attributes = readSvgRootAttributes(text);
  if (!attributes) return {0.0f, 0.0f};
  const auto [viewBoxWidth, viewBoxHeight] = viewBoxSize(attributes->viewBox);
  return {sideLength(attributes->width, viewBoxWidth),
          sideLength(attributes->height, viewBoxHeight)};
}

}  // namespace

std::optional<SvgDimensions> measureSvgDimensions(char* text) {
  try {
    return measureRootElement(text);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace ondrel
