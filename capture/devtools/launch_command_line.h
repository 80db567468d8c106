#ifndef ONDREL_CAPTURE_DEVTOOLS_LAUNCH_COMMAND_LINE_H_
#define ONDREL_CAPTURE_DEVTOOLS_LAUNCH_COMMAND_LINE_H_

#include "capture/capture_request.h"
#include "text/wide_text.h"

namespace ondrel::devtools {

// How the browser is started for the DevTools engine.
struct BrowserLaunch {
  WideString browserPath;
  bool showScrollbars = false;
  Elevation elevation = Elevation::kNone;
  // network=OFF: the browser resolves no host name.
  bool blockNetwork = false;

  bool operator==(const BrowserLaunch&) const = default;
};

// "<browser>" --headless --remote-debugging-pipe --user-data-dir="<profile>"
// --no-first-run --no-default-browser-check --disable-gpu-vsync
// --disable-frame-rate-limit --disable-features=... [--host-resolver-rules=...]
// [--do-not-de-elevate] [--hide-scrollbars] about:blank
WideString launchCommandLine(const BrowserLaunch& launch, WideView profileFolder);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_LAUNCH_COMMAND_LINE_H_
