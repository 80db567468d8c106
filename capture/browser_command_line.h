#ifndef ONDREL_CAPTURE_BROWSER_COMMAND_LINE_H_
#define ONDREL_CAPTURE_BROWSER_COMMAND_LINE_H_

#include <cstddef>
#include <cstdint>

#include "text/wide_text.h"

namespace ondrel {

// The browser's command line is built for a buffer of this many characters.
inline constexpr std::size_t kCommandLineCapacity = 1024;

// The short form lets the page show scroll bars; the long one adds
// "--disable-extensions --hide-scrollbars".
enum class CommandLineForm { kShort, kLong };

// Whether the process that starts the browser runs fully elevated. Such a
// browser would start an unelevated copy of itself and end at once, and the
// copy would write the screenshot long after the capture gave up, unless it
// is told to stay as it was started.
enum class Elevation { kNone, kFull };

// "<browser>" --headless [--do-not-de-elevate] [--disable-extensions
// --hide-scrollbars] --window-size=<width>,<height> --screenshot="<screenshot>"
// "<page>"
WideString browserCommandLine(CommandLineForm form, Elevation elevation, WideView browserPath,
                              std::int32_t width, std::int32_t height, WideView screenshotPath,
                              WideView page);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_BROWSER_COMMAND_LINE_H_
