#ifndef ONDREL_TOOLS_ONDREL_RENDER_CHECK_PAGES_H_
#define ONDREL_TOOLS_ONDREL_RENDER_CHECK_PAGES_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/screenshot_bitmap.h"

namespace ondrel_render {

struct Rgb {
  int red, green, blue;
  bool operator==(const Rgb&) const = default;
};

// A page of --check: painted in four quadrants of known colours, so that a
// picture of it shows whether the browser drew it, whatever its size.
struct CheckPage {
  std::string_view name;       // as the user reads it
  std::string_view extension;  // of the file it is shown from
  std::string_view text;
  // Top left, top right, bottom left, bottom right.
  std::array<Rgb, 4> quadrants;
};

// An HTML page, and a Markdown document whose raw HTML paints alike in
// either dialect.
const CheckPage& htmlCheckPage();
const CheckPage& markdownCheckPage();

// Where a picture of `page` shows the wrong colour, in words, e.g. "at
// (160, 120) #ffffff where #1e90ff belongs"; empty when every quadrant's
// middle has its colour, give or take the rounding of a browser's drawing.
std::string colourMismatch(const CheckPage& page,
                           const ondrel::platform::ScreenshotBitmap& picture);

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_CHECK_PAGES_H_
