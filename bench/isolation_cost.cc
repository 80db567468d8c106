// What a browser context of its own costs a warm picture: two warm browsers started alike, one
// giving each page a context of its own (as the plug-in does), the other showing every page in
// its own context and closing it after. Runs of ten pictures alternate between them, so both
// see the same machine and each browser's work left over from a picture falls on its own next
// picture; each picture is a blank page, the capture-size viewport, the page loaded, a
// screenshot, the page let go and, for the first browser, the next page asked for.
//
// Usage: ondrel-bench-isolation BROWSER PAGE [PICTURES]   (PICTURES defaults to 80, half each)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "capture/devtools/browser_session.h"
#include "capture/devtools/page_supply.h"
#include "capture/staging/file_url.h"
#include "platform/deadline.h"
#include "text/wide_text.h"

namespace {

using ondrel::devtools::BrowserSession;
using ondrel::devtools::PageSupply;
using ondrel::platform::Deadline;
using Clock = std::chrono::steady_clock;

constexpr int kRun = 10;

// One warm browser with its pages.
struct WarmBrowser {
  std::unique_ptr<BrowserSession> session;
  std::unique_ptr<PageSupply> pages;
  bool ownContexts = false;
};

std::unique_ptr<WarmBrowser> startBrowser(const ondrel::WideString& path, bool ownContexts) {
  auto browser = std::make_unique<WarmBrowser>();
  browser->session = BrowserSession::start({path, false, ondrel::Elevation::kNone},
                                           Deadline::after(std::chrono::seconds(30)))
                         .session;
  if (!browser->session) return nullptr;
  browser->ownContexts = ownContexts;
  browser->pages = std::make_unique<PageSupply>(
      browser->session->connection(),
      ownContexts ? PageSupply::Lifetime::kManyPages : PageSupply::Lifetime::kOnePage);
  return browser;
}

// Seconds for one picture, or a negative number when it failed.
double picture(WarmBrowser& browser, const std::string& url) {
  const Deadline deadline = Deadline::after(std::chrono::seconds(30));
  const auto start = Clock::now();
  std::optional<ondrel::devtools::PageLease> page = browser.pages->open(deadline);
  if (!page || !page->page().setViewport(640, 480, 1.0, deadline) ||
      !page->page().navigate(url, deadline) || !page->page().screenshot(deadline)) {
    return -1;
  }
  const std::string targetId = page->targetId();
  page.reset();
  if (browser.ownContexts) {
    browser.pages->prepareNext(deadline);
  } else {
    browser.session->connection().post("Target.closeTarget", {{"targetId", targetId}}, {},
                                       deadline);
  }
  return std::chrono::duration<double>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || std::string(argv[1]) == "--help") {
    std::fprintf(stderr, "usage: ondrel-bench-isolation BROWSER PAGE [PICTURES]\n");
    return argc == 2 ? 0 : 2;
  }
  const int pictures = argc == 4 ? std::atoi(argv[3]) : 80;
  const std::optional<std::string> url =
      ondrel::fileUrl(std::filesystem::absolute(argv[2]).u16string());
  if (pictures < 2 * kRun || !url) {
    std::fprintf(stderr, "ondrel-bench-isolation: bad page or number of pictures\n");
    return 2;
  }
  const ondrel::WideString browserPath = std::filesystem::absolute(argv[1]).u16string();
  std::unique_ptr<WarmBrowser> isolated = startBrowser(browserPath, true);
  std::unique_ptr<WarmBrowser> shared = startBrowser(browserPath, false);
  if (!isolated || !shared) {
    std::fprintf(stderr, "ondrel-bench-isolation: the browser did not start\n");
    return 1;
  }
  std::vector<double> ownTimes, sharedTimes;
  // The first picture of each warms its browser and is left out.
  if (picture(*isolated, *url) < 0 || picture(*shared, *url) < 0) {
    std::fprintf(stderr, "ondrel-bench-isolation: a picture failed\n");
    return 1;
  }
  for (int n = 0; n < pictures; ++n) {
    const bool own = (n / kRun) % 2 == 0;
    const double seconds = picture(own ? *isolated : *shared, *url);
    if (seconds < 0) {
      std::fprintf(stderr, "ondrel-bench-isolation: a picture failed\n");
      return 1;
    }
    (own ? ownTimes : sharedTimes).push_back(seconds);
  }
  std::printf("median seconds per warm picture (%zu each, in alternating runs of %d)\n",
              ownTimes.size(), kRun);
  std::printf("  a context of its own   %.3f\n", median(ownTimes));
  std::printf("  the browser's context  %.3f\n", median(sharedTimes));
  std::printf("  isolation costs        %.3f\n", median(ownTimes) - median(sharedTimes));
  isolated->pages.reset();
  shared->pages.reset();
  isolated->session->close(Deadline::after(std::chrono::seconds(5)));
  shared->session->close(Deadline::after(std::chrono::seconds(5)));
  return 0;
}
