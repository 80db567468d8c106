#include "capture/browser_wait.h"

#include "platform/child_process.h"

namespace ondrel {

BrowserWait waitForBrowser(
    const std::function<std::optional<std::uint32_t>()>& primaryThreadExitCode,
    const std::function<void()>& sleepOnePoll, std::int32_t waitSeconds) {
  double elapsedSeconds = 0.0;
  for (;;) {
    const std::optional<std::uint32_t> exitCode = primaryThreadExitCode();
    if (!exitCode) return BrowserWait::kEnded;
    sleepOnePoll();
    elapsedSeconds += 0.1;
    if (waitSeconds != 0 && elapsedSeconds >= double(waitSeconds)) return BrowserWait::kTimedOut;
    if (*exitCode != platform::kStillActive) return BrowserWait::kEnded;
  }
}

}  // namespace ondrel
