#include "capture/screenshot_switch/browser_wait.h"

namespace ondrel {

BrowserWait waitForBrowser(
    const std::function<std::optional<platform::ThreadState>()>& primaryThreadState,
    const std::function<void()>& sleepOnePoll, std::int32_t waitSeconds) {
  double elapsedSeconds = 0.0;
  for (;;) {
    const std::optional<platform::ThreadState> state = primaryThreadState();
    if (!state) return BrowserWait::kEnded;
    sleepOnePoll();
    elapsedSeconds += 0.1;
    if (waitSeconds != 0 && elapsedSeconds >= double(waitSeconds)) return BrowserWait::kTimedOut;
    if (!state->isRunning()) return BrowserWait::kEnded;
  }
}

}  // namespace ondrel
