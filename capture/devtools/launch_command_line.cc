#include "capture/devtools/launch_command_line.h"

namespace ondrel::devtools {

WideString launchCommandLine(const BrowserLaunch& launch, WideView profileFolder) {
  WideString line = u"\"" + launch.browserPath + u"\" --headless --remote-debugging-pipe";
  line += u" --user-data-dir=\"";
  line += profileFolder;
  line += u"\" --no-first-run --no-default-browser-check";
  // A screenshot waits for the next frame; unpaced frames come at once.
  line += u" --disable-gpu-vsync --disable-frame-rate-limit";
  // Each page's browser context would otherwise start two renderers nobody
  // uses: the address bar's pop-up and a spare for a next page that never
  // comes to that context.
  line +=
      u" --disable-features=WebUIOmniboxPopup,WebUIOmniboxAimPopup,SpareRendererForSitePerProcess";
  // Held requests fail as blocked, but a frame's navigation opens a connection
  // to its server before it is held (a preconnect, which Fetch never sees).
  // With no name and no address resolving, no connection is ever opened.
  if (launch.blockNetwork) line += u" --host-resolver-rules=\"MAP * ~NOTFOUND\"";
  if (launch.elevation == Elevation::kFull) line += u" --do-not-de-elevate";
  if (!launch.showScrollbars) line += u" --hide-scrollbars";
  line += u" about:blank";
  return line;
}

}  // namespace ondrel::devtools
