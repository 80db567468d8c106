#ifndef ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_COMMAND_LINE_H_
#define ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_COMMAND_LINE_H_

#include <cstddef>
#include <cstdint>

#include "capture/capture_request.h"
#include "text/wide_text.h"

namespace ondrel {

// The browser's command line is built for a buffer of this many characters.
inline constexpr std::size_t kCommandLineCapacity = 1024;

// The short form lets the page show scroll bars; the long one adds
// "--disable-extensions --hide-scrollbars".
enum class CommandLineForm { kShort, kLong };

// "<browser>" --headless [--do-not-de-elevate] [--disable-extensions
// --hide-scrollbars] [--force-device-scale-factor=<scale>]
// --window-size=<width>,<height> --screenshot="<screenshot>" "<page>"
// The window is sized in CSS pixels; at a scale other than 1 the browser
// draws it, and writes its screenshot, at that many device pixels a CSS pixel.
WideString browserCommandLine(CommandLineForm form, Elevation elevation, WideView browserPath,
                              double deviceScale, std::int32_t width, std::int32_t height,
                              WideView screenshotPath, WideView page);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_COMMAND_LINE_H_
