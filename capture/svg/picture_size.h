#ifndef ONDREL_CAPTURE_SVG_PICTURE_SIZE_H_
#define ONDREL_CAPTURE_SVG_PICTURE_SIZE_H_

#include <cstdint>

namespace ondrel {

// A picture's size in whole pixels. Values come from files and settings as
// they are, so either may be 0 or negative; users decide what that means.
struct PictureSize {
  std::int32_t width;
  std::int32_t height;

  friend bool operator==(const PictureSize&, const PictureSize&) = default;
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_PICTURE_SIZE_H_
