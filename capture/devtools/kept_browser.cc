#include "capture/devtools/kept_browser.h"

#include <algorithm>

#include "capture/devtools/failure_words.h"

namespace ondrel::devtools {
namespace {

// An idle browser is asked to close and given this long before it is killed;
// Chromium needs a fraction of it.
constexpr std::chrono::seconds kIdleCloseGrace{2};
// After a failed picture the browser must answer within this long to be kept:
// its process answers in a millisecond, however stuck a page's renderer is.
constexpr std::chrono::milliseconds kAnswerGrace{500};

platform::Deadline rightNow() { return platform::Deadline::after(std::chrono::milliseconds(0)); }

}  // namespace

KeptBrowser& KeptBrowser::ofThisModule() {
  // The one piece of state kept between calls; see docs/warm-browser.md for
  // its lifetime.
  static KeptBrowser browser;
  return browser;
}

KeptBrowser::~KeptBrowser() {
  const std::optional<CountingGate::Turn> turn = turn_.enter(1, rightNow());
  // A browser left here is ended by the system: the job object on Windows,
  // its closed pipe on Linux.
  if (!turn || drawing_.inside() > 0) {
    (void)new RunningBrowser(std::move(kept_));
    return;
  }
  // Ended first, so that the pages' farewells find the pipe closed at once.
  if (kept_) kept_->session->endAtUnload();
  kept_.reset();
}

Shown KeptBrowser::show(const BrowserLaunch& launch, std::chrono::seconds keepFor,
                        std::int32_t parallel, const platform::Deadline& deadline,
                        const Picture& picture, CaptureReport* report) {
  const std::optional<CountingGate::Turn> place = drawing_.enter(parallel, deadline);
  if (!place) {
    if (report != nullptr) {
      report->failed("no picture after " + std::to_string(report->waitSeconds()) +
                     " s: the browser was busy with the viewer's other pictures");
    }
    return Shown::kFailed;
  }
  bool shown = false;
  bool refusedPipe = false;
  RunningBrowser browser;
  for (int attempt = 0; attempt < 2 && !shown; ++attempt) {
    browser = takeBrowser(launch, deadline, report, refusedPipe);
    if (!browser) break;
    ProtocolConnection& connection = browser->session->connection();
    connection.forgetFailure();
    browser->pages->readyPages(std::size_t(std::min(parallel, drawing_.inside())));
    shown = picture(*browser->pages);
    // Only a browser that went before the deadline is worth a second try.
    if (shown || browser->session->usable() || deadline.hasPassed()) break;
    reportConnectionFailure(report, connection, browser->session->exitCode());
  }
  if (browser) keepOrClose(browser, shown, deadline, report);
  idleUntil_ = (Clock::now() + keepFor).time_since_epoch().count();
  keepForSeconds_ = keepFor.count();
  if (refusedPipe) return Shown::kBrowserRefusedPipe;
  return shown ? Shown::kShown : Shown::kFailed;
}

KeptBrowser::RunningBrowser KeptBrowser::takeBrowser(const BrowserLaunch& launch,
                                                     const platform::Deadline& deadline,
                                                     CaptureReport* report, bool& refusedPipe) {
  const std::optional<CountingGate::Turn> turn = turn_.enter(1, deadline);
  if (!turn) {
    if (report != nullptr) {
      report->failed("no picture after " + std::to_string(report->waitSeconds()) +
                     " s: the browser was still being started or closed for another picture");
    }
    return nullptr;
  }
  return browserFor(launch, deadline, report, refusedPipe);
}

// A page that crashed or timed out took only its own context with it, and
// its renderer, so the browser is kept when it still answers; one as stuck
// as its page is not.
bool KeptBrowser::servesOn(Running& browser, bool shown) {
  if (!browser.session->usable()) return false;
  if (shown) return true;
  const platform::Deadline grace = platform::Deadline::after(kAnswerGrace);
  if (!browser.session->answers(grace)) return false;
  // A picture that ran out of time made no page ready for the next one.
  browser.pages->prepareNext(grace);
  return browser.session->usable();
}

// The failure is told once the browser's fate is known, which its words
// name. The turn is taken only to close the browser.
void KeptBrowser::keepOrClose(const RunningBrowser& browser, bool shown,
                              const platform::Deadline& deadline, CaptureReport* report) {
  const bool kept = servesOn(*browser, shown);
  ProtocolConnection& connection = browser->session->connection();
  if (!shown) {
    reportConnectionFailure(report, connection, browser->session->exitCode(),
                            kept ? BrowserFate::kKept : BrowserFate::kStopped);
  }
  // The thread's failure, told, is of no use to its next picture.
  connection.forgetFailure();
  if (kept) return;
  const std::optional<CountingGate::Turn> turn =
      turn_.enter(1, platform::Deadline::after(kAnswerGrace));
  // One replaced meanwhile is ended by its last picture; one not closed now
  // is replaced by the next picture, which finds it unusable.
  if (!turn || kept_ != browser) return;
  const bool usable = browser->session->usable();
  letGo(deadline, report, usable ? "it did not answer after its page failed" : whyUnusable(), true);
}

void KeptBrowser::closeIfIdle(CaptureReport* report) {
  const std::optional<CountingGate::Turn> turn = turn_.enter(1, rightNow());
  if (!turn || !kept_ || drawing_.inside() > 0 ||
      Clock::now().time_since_epoch().count() < idleUntil_) {
    return;
  }
  letGo(platform::Deadline::after(kIdleCloseGrace), report,
        "idle for " + std::to_string(keepForSeconds_) + " s", false);
}

void KeptBrowser::close(const platform::Deadline& deadline, CaptureReport* report) {
  const std::optional<CountingGate::Turn> turn = turn_.enter(1, deadline);
  if (!turn || !kept_) return;
  letGo(deadline, report, "asked to", false);
}

KeptBrowser::RunningBrowser KeptBrowser::browserFor(const BrowserLaunch& launch,
                                                    const platform::Deadline& deadline,
                                                    CaptureReport* report, bool& refusedPipe) {
  if (kept_ && !(launch_ == launch)) {
    letGo(deadline, report, "Chrome or its switches changed", false);
  } else if (kept_ && !kept_->session->usable()) {
    letGo(deadline, report, whyUnusable(), true);
  }
  if (!kept_) {
    BrowserSession::Started started = BrowserSession::start(launch, deadline, report);
    refusedPipe = started.refusedPipe;
    if (!started.session) return nullptr;
    auto running = std::make_shared<Running>();
    running->session = std::move(started.session);
    running->pages = std::make_unique<PageSupply>(running->session->connection(),
                                                  PageSupply::Lifetime::kManyPages);
    kept_ = std::move(running);
    launch_ = launch;
  }
  return kept_;
}

// Copies of the kept browser are made only with the turn, so a count of one
// is the turn's own: no picture is drawn in it.
void KeptBrowser::letGo(const platform::Deadline& deadline, CaptureReport* report,
                        std::string_view why, bool evenInUse) {
  RunningBrowser browser = std::move(kept_);
  const bool inUse = browser.use_count() > 1;
  if (inUse && !evenInUse) return;
  // Pages in use stay until their pictures are done, failing at once then.
  if (!inUse) browser->pages.reset();
  browser->session->close(deadline, report, why);
}

std::string KeptBrowser::whyUnusable() {
  return kept_->session->connection().broken() ? "its connection broke" : "";
}

}  // namespace ondrel::devtools
