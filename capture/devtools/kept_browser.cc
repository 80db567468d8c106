#include "capture/devtools/kept_browser.h"

#include "capture/devtools/failure_words.h"

namespace ondrel::devtools {
namespace {

// An idle browser is asked to close and given this long before it is killed;
// Chromium needs a fraction of it.
constexpr std::chrono::seconds kIdleCloseGrace{2};
// After a failed picture the browser must answer within this long to be kept:
// its process answers in a millisecond, however stuck a page's renderer is.
constexpr std::chrono::milliseconds kAnswerGrace{500};

// Takes the lock, waiting no longer than the deadline.
bool lockBefore(std::unique_lock<std::timed_mutex>& lock, const platform::Deadline& deadline) {
  const std::optional<platform::Deadline::Clock::time_point> at = deadline.at();
  if (!at) {
    lock.lock();
    return true;
  }
  return lock.try_lock_until(*at);
}

}  // namespace

KeptBrowser& KeptBrowser::ofThisModule() {
  // The one piece of state kept between calls; see docs/warm-browser.md for
  // its lifetime.
  static KeptBrowser browser;
  return browser;
}

KeptBrowser::~KeptBrowser() {
  std::unique_lock lock(mutex_, std::try_to_lock);
  // A browser left here is ended by the system: the job object on Windows,
  // its closed pipe on Linux.
  if (!lock.owns_lock()) {
    (void)pages_.release();
    (void)browser_.release();
    return;
  }
  // Ended first, so that the pages' farewells find the pipe closed at once.
  if (browser_) browser_->endAtUnload();
  pages_.reset();
}

Shown KeptBrowser::show(const BrowserLaunch& launch, std::chrono::seconds keepFor,
                        const platform::Deadline& deadline, const Picture& picture,
                        CaptureReport* report) {
  std::unique_lock lock(mutex_, std::defer_lock);
  if (!lockBefore(lock, deadline)) {
    if (report != nullptr) {
      report->failed("no picture after " + std::to_string(report->waitSeconds()) +
                     " s: the browser was busy with the viewer's other pictures");
    }
    return Shown::kFailed;
  }
  bool shown = false;
  bool refusedPipe = false;
  for (int attempt = 0; attempt < 2 && !shown; ++attempt) {
    PageSupply* pages = pagesFor(launch, deadline, report, refusedPipe);
    if (pages == nullptr) break;
    browser_->connection().forgetFailure();
    shown = picture(*pages);
    // Only a browser that went before the deadline is worth a second try.
    if (shown || browser_->usable() || deadline.hasPassed()) break;
    reportConnectionFailure(report, browser_->connection(), browser_->exitCode());
  }
  if (browser_) keepOrClose(shown, deadline, report);
  idleUntil_ = Clock::now() + keepFor;
  keepFor_ = keepFor;
  if (refusedPipe) return Shown::kBrowserRefusedPipe;
  return shown ? Shown::kShown : Shown::kFailed;
}

// A page that crashed or timed out took only its own context with it, and
// its renderer, so the browser is kept when it still answers; one as stuck
// as its page is not.
bool KeptBrowser::servesOn(bool shown) {
  if (!browser_->usable()) return false;
  if (shown) return true;
  const platform::Deadline grace = platform::Deadline::after(kAnswerGrace);
  if (!browser_->answers(grace)) return false;
  // A picture that ran out of time made no page ready for the next one.
  pages_->prepareNext(grace);
  return browser_->usable();
}

// The failure is told once the browser's fate is known, which its words
// name.
void KeptBrowser::keepOrClose(bool shown, const platform::Deadline& deadline,
                              CaptureReport* report) {
  const bool kept = servesOn(shown);
  if (!shown) {
    reportConnectionFailure(report, browser_->connection(), browser_->exitCode(),
                            kept ? BrowserFate::kKept : BrowserFate::kStopped);
  }
  if (kept) return;
  closeBrowser(deadline, report,
               browser_->usable() ? "it did not answer after its page failed" : whyUnusable());
}

void KeptBrowser::closeIfIdle(CaptureReport* report) {
  std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock() || !browser_ || Clock::now() < idleUntil_) return;
  closeBrowser(platform::Deadline::after(kIdleCloseGrace), report,
               "idle for " + std::to_string(keepFor_.count()) + " s");
}

void KeptBrowser::close(const platform::Deadline& deadline, CaptureReport* report) {
  std::unique_lock lock(mutex_, std::defer_lock);
  if (!lockBefore(lock, deadline) || !browser_) return;
  closeBrowser(deadline, report, "asked to");
}

PageSupply* KeptBrowser::pagesFor(const BrowserLaunch& launch, const platform::Deadline& deadline,
                                  CaptureReport* report, bool& refusedPipe) {
  if (browser_ && !(launch_ == launch)) {
    closeBrowser(deadline, report, "Chrome or its switches changed");
  } else if (browser_ && !browser_->usable()) {
    closeBrowser(deadline, report, whyUnusable());
  }
  if (!browser_) {
    BrowserSession::Started started = BrowserSession::start(launch, deadline, report);
    refusedPipe = started.refusedPipe;
    browser_ = std::move(started.session);
    if (!browser_) return nullptr;
    launch_ = launch;
    pages_ = std::make_unique<PageSupply>(browser_->connection(), PageSupply::Lifetime::kManyPages);
  }
  return pages_.get();
}

void KeptBrowser::closeBrowser(const platform::Deadline& deadline, CaptureReport* report,
                               std::string_view why) {
  pages_.reset();
  if (browser_) browser_->close(deadline, report, why);
  browser_.reset();
}

std::string KeptBrowser::whyUnusable() {
  return browser_->connection().broken() ? "its connection broke" : "";
}

}  // namespace ondrel::devtools
