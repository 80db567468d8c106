#ifndef ONDREL_CAPTURE_SVG_SVG_DIMENSIONS_H_
#define ONDREL_CAPTURE_SVG_SVG_DIMENSIONS_H_

#include <optional>

namespace ondrel {

// A drawing's declared size in pixels at 96 dots per inch, unrounded. The
// values come from an untrusted file: they may be 0, negative or infinite, and
// a reader may even produce NaN.
struct SvgDimensions {
  float width;
  float height;
};

// Measures the SVG drawing in `text`, a NUL-terminated buffer that the reader
// may write into. Text holding no drawing measures 0 by 0; nothing means the
// reader could not allocate what it needed.
std::optional<SvgDimensions> measureSvgDimensions(char* text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_SVG_DIMENSIONS_H_
