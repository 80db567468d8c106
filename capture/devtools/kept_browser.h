#ifndef ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_
#define ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "capture/devtools/browser_session.h"
#include "capture/devtools/launch_command_line.h"
#include "capture/devtools/page_supply.h"
#include "platform/deadline.h"

namespace ondrel::devtools {

// What showing a page in a browser came to.
enum class Shown {
  kShown,
  kFailed,
  // The browser ended or closed its pipe before its first answer.
  kBrowserRefusedPipe,
};

// The browser kept between pictures: the one piece of state the plug-in
// keeps from call to call (docs/warm-browser.md). One per loaded module,
// shared by the viewer's threads, which take turns with it.
class KeptBrowser {
 public:
  using Clock = platform::Deadline::Clock;
  // Shows one page with the browser's pages; true when the picture succeeded.
  using Picture = std::function<bool(PageSupply&)>;

  // The module's own, made at first use and gone when the module is unloaded.
  static KeptBrowser& ofThisModule();

  KeptBrowser() = default;
  KeptBrowser(const KeptBrowser&) = delete;
  KeptBrowser& operator=(const KeptBrowser&) = delete;
  // At unload: takes the lock only if it is free, since another thread may
  // hold it for good, and then ends the browser without asking it anything
  // and without sleeping (BrowserSession::endAtUnload).
  ~KeptBrowser();

  // Runs `picture` in a browser started with `launch`, the kept one when it
  // still serves, waiting for other threads' pictures no longer than the
  // deadline. A browser that goes during the picture is replaced once and
  // the picture tried again. The browser is then kept, idle for `keepFor`;
  // after a failed picture only when it still answers within a short grace,
  // which the call may take beyond the deadline. kFailed when the turn, a
  // browser or the picture could not be had; `report` hears why, and of
  // every browser started and closed.
  Shown show(const BrowserLaunch& launch, std::chrono::seconds keepFor,
             const platform::Deadline& deadline, const Picture& picture,
             CaptureReport* report = nullptr);

  // Closes the browser when it has been idle past its time; one in use, or
  // being handed over, is left alone.
  void closeIfIdle(CaptureReport* report = nullptr);

  // Closes the browser now, waiting for a picture in progress no longer than
  // the deadline.
  void close(const platform::Deadline& deadline, CaptureReport* report = nullptr);

 private:
  // Under the lock: the pages of the kept browser if it serves `launch`, or
  // of a new one.
  // `refusedPipe` tells a browser that would not speak the protocol.
  PageSupply* pagesFor(const BrowserLaunch& launch, const platform::Deadline& deadline,
                       CaptureReport* report, bool& refusedPipe);
  // Under the lock, after a picture: whether the browser is to be kept.
  bool servesOn(bool shown);
  // Under the lock, after a picture: keeps the browser or closes it, and
  // tells a failed picture's reason.
  void keepOrClose(bool shown, const platform::Deadline& deadline, CaptureReport* report);
  void closeBrowser(const platform::Deadline& deadline, CaptureReport* report,
                    std::string_view why);
  // Why a browser that no longer serves is closed.
  std::string whyUnusable();

  std::timed_mutex mutex_;
  std::unique_ptr<BrowserSession> browser_;
  // The browser's pages, each in a context of its own; gone before it.
  std::unique_ptr<PageSupply> pages_;
  BrowserLaunch launch_;
  Clock::time_point idleUntil_;
  std::chrono::seconds keepFor_{0};
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_
