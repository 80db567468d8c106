#ifndef ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_WAIT_H_
#define ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_WAIT_H_

#include <cstdint>
#include <functional>
#include <optional>

#include "platform/child_process.h"

namespace ondrel {

inline constexpr unsigned kPollMilliseconds = 100;

enum class BrowserWait { kEnded, kTimedOut };

// Polls the browser until its primary thread ends, sleeping one poll interval
// before every look at the limit. Elapsed time counts sleeps, 0.1 s each, in
// double precision, so the default limit of 5 s is met after 51 sleeps. A
// limit of 0 waits for ever; a negative one gives up after the first sleep.
// A thread state that cannot be read counts as the end of the browser.
BrowserWait waitForBrowser(
    const std::function<std::optional<platform::ThreadState>()>& primaryThreadState,
    const std::function<void()>& sleepOnePoll, std::int32_t waitSeconds);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SCREENSHOT_SWITCH_BROWSER_WAIT_H_
