#ifndef ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_
#define ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "capture/devtools/browser_session.h"
#include "capture/devtools/counting_gate.h"
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
// shared by the viewer's threads, which draw up to `parallel` pictures in it
// at once, each in a page and context of its own. They take turns only at
// starting, replacing and closing the browser.
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
  // At unload: takes the turn only if it is free, since another thread may
  // hold it for good, and then ends the browser without asking it anything
  // and without sleeping (BrowserSession::endAtUnload).
  ~KeptBrowser();

  // Runs `picture` in a browser started with `launch`, the kept one when it
  // still serves, once fewer than `parallel` other pictures are drawn in it,
  // waiting for them no longer than the deadline. A browser that goes during
  // the picture is replaced once and the picture tried again. The browser is
  // then kept, idle for `keepFor`; after a failed picture only when it still
  // answers within a short grace, which the call may take beyond the
  // deadline. kFailed when the turn, a browser or the picture could not be
  // had; `report` hears why, and of every browser started and closed.
  Shown show(const BrowserLaunch& launch, std::chrono::seconds keepFor, std::int32_t parallel,
             const platform::Deadline& deadline, const Picture& picture,
             CaptureReport* report = nullptr);

  // Closes the browser when it has been idle past its time; one in use, or
  // being handed over, is left alone.
  void closeIfIdle(CaptureReport* report = nullptr);

  // Closes the browser now, waiting for a picture in progress no longer than
  // the deadline.
  void close(const platform::Deadline& deadline, CaptureReport* report = nullptr);

 private:
  // A started browser and its pages, shared by the pictures drawn in it: one
  // replaced while others still draw in it lives until the last of them is
  // done, and is ended then.
  struct Running {
    std::unique_ptr<BrowserSession> session;
    std::unique_ptr<PageSupply> pages;  // gone before the session
    ~Running() { pages.reset(); }
  };
  using RunningBrowser = std::shared_ptr<Running>;

  // With the turn: the kept browser if it serves `launch`, or a new one.
  // `refusedPipe` tells a browser that would not speak the protocol.
  RunningBrowser browserFor(const BrowserLaunch& launch, const platform::Deadline& deadline,
                            CaptureReport* report, bool& refusedPipe);
  // browserFor with the turn taken first, for no longer than the deadline.
  RunningBrowser takeBrowser(const BrowserLaunch& launch, const platform::Deadline& deadline,
                             CaptureReport* report, bool& refusedPipe);
  // After a picture: whether the browser is to be kept.
  static bool servesOn(Running& browser, bool shown);
  // After a picture: keeps the browser or closes it, and tells a failed
  // picture's reason.
  void keepOrClose(const RunningBrowser& browser, bool shown, const platform::Deadline& deadline,
                   CaptureReport* report);
  // With the turn: lets the kept browser go, closed at once unless another
  // picture is drawn in it, or `evenInUse`.
  void letGo(const platform::Deadline& deadline, CaptureReport* report, std::string_view why,
             bool evenInUse);
  // Why a browser that no longer serves is closed.
  std::string whyUnusable();

  // One at a time starts, replaces and closes the browser.
  CountingGate turn_;
  // Up to `parallel` pictures at once.
  CountingGate drawing_;
  RunningBrowser kept_;
  BrowserLaunch launch_;
  std::atomic<Clock::rep> idleUntil_{0};
  std::atomic<std::int64_t> keepForSeconds_{0};
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_KEPT_BROWSER_H_
