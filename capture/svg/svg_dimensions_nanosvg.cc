// Measures drawings with nanosvg. Built instead of the built-in reader when
// the build is given a folder holding nanosvg.h.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "capture/svg/svg_dimensions.h"

#define NANOSVG_IMPLEMENTATION
#include "nanosvg.h"

namespace ondrel {
namespace {

struct ImageDeleter {
  void operator()(NSVGimage* image) const { nsvgDelete(image); }
};

}  // namespace

std::optional<SvgDimensions> measureSvgDimensions(char* text) {
  // nanosvg gives no image only when it runs out of memory; text without a
  // drawing still gives one, measuring 0 by 0.
  const std::unique_ptr<NSVGimage, ImageDeleter> image(nsvgParse(text, "px", 96.0f));
  if (!image) return std::nullopt;
  return SvgDimensions{image->width, image->height};
}

}  // namespace ondrel
