// Where a warm picture's time goes, step by step, and what the levers on it are worth. One warm
// browser gives each picture a context of its own, as the plug-in does; the picture's page is
// made ready before its clock starts, the pause between pictures (a person looking at each)
// elapses, and then each step is timed: the page taken (attached, its events enabled), the
// viewport set, the document loaded, the screenshot asked for and carried over the pipe, its
// base64 decoded, its PNG decoded, the context disposed of. Variants, interleaved picture by
// picture so that they see the same machine:
//   blank       the page made ready on about:blank, as the plug-in does
//   committed   the page made ready on a blank file: document, so that the picture's navigation
//               stays in the renderer that has already committed a file: document
//   slow-png    as blank, with the screenshot's default compression (no optimizeForSpeed)
// "prepare" is the next page's context and blank page asked for before the clock, as a picture
// of the plug-in does once its own context has gone; it is part of that picture's call.
//
// Usage: ondrel-bench-warm-steps BROWSER PAGE [PICTURES] [PAUSE_MS]
//        (PICTURES defaults to 60, a third each; PAUSE_MS to 500)

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "capture/devtools/base64.h"
#include "capture/devtools/browser_session.h"
#include "capture/devtools/page_supply.h"
#include "capture/staging/file_url.h"
#include "platform/deadline.h"
#include "platform/screenshot_bitmap.h"
#include "text/wide_text.h"

namespace {

using ondrel::devtools::BrowserSession;
using ondrel::devtools::PageLease;
using ondrel::devtools::PageSupply;
using ondrel::platform::Deadline;
using Clock = std::chrono::steady_clock;

constexpr const char* kVariants[] = {"blank", "committed", "slow-png"};
constexpr const char* kSteps[] = {"take page", "viewport",   "load",    "screenshot",
                                  "base64",    "PNG decode", "dispose", "total"};

using Times = std::map<std::string, std::vector<double>>;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// One picture of `url` in a page made ready before the clock starts; its steps' seconds, or
// nothing when a step failed.
std::optional<std::map<std::string, double>> picture(
    PageSupply& pages, ondrel::devtools::ProtocolConnection& connection, const std::string& url,
    const std::string& variant, const std::string& readyUrl, int pauseMs) {
  const Deadline deadline = Deadline::after(std::chrono::seconds(30));
  std::map<std::string, double> steps;
  const auto preparing = Clock::now();
  pages.prepareNext(deadline);
  steps["prepare"] = since(preparing);
  std::optional<PageLease> page;
  if (variant == "committed") {
    // The page taken and its blank file: document loaded before the clock.
    page = pages.open(deadline);
    if (!page || !page->page().navigate(readyUrl, deadline)) return std::nullopt;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
  const auto start = Clock::now();
  auto step = Clock::now();
  if (!page) page = pages.open(deadline);
  if (!page) return std::nullopt;
  steps["take page"] = since(step);
  step = Clock::now();
  if (!page->page().setViewport(640, 480, 1.0, deadline)) return std::nullopt;
  steps["viewport"] = since(step);
  step = Clock::now();
  if (!page->page().navigate(url, deadline)) return std::nullopt;
  steps["load"] = since(step);
  step = Clock::now();
  nlohmann::json params = {{"format", "png"}};
  if (variant != "slow-png") params["optimizeForSpeed"] = true;
  const std::optional<nlohmann::json> shot =
      connection.call("Page.captureScreenshot", params, page->page().sessionId(), deadline);
  if (!shot || !shot->contains("data")) return std::nullopt;
  steps["screenshot"] = since(step);
  step = Clock::now();
  const std::optional<std::vector<std::uint8_t>> png =
      ondrel::devtools::decodeBase64((*shot)["data"].get_ref<const std::string&>());
  if (!png) return std::nullopt;
  steps["base64"] = since(step);
  step = Clock::now();
  if (!ondrel::platform::decodePngBytes(*png, 640, 480)) return std::nullopt;
  steps["PNG decode"] = since(step);
  step = Clock::now();
  page.reset();
  steps["dispose"] = since(step);
  steps["total"] = since(start);
  return steps;
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 5 || std::string(argv[1]) == "--help") {
    std::fprintf(stderr, "usage: ondrel-bench-warm-steps BROWSER PAGE [PICTURES] [PAUSE_MS]\n");
    return argc == 2 ? 0 : 2;
  }
  const int pictures = argc >= 4 ? std::atoi(argv[3]) : 60;
  const int pauseMs = argc == 5 ? std::atoi(argv[4]) : 500;
  const std::optional<std::string> url =
      ondrel::fileUrl(std::filesystem::absolute(argv[2]).u16string());
  const std::filesystem::path ready =
      std::filesystem::temp_directory_path() / "ondrel-bench-ready.html";
  std::ofstream(ready) << "<!DOCTYPE html>\n";
  const std::optional<std::string> readyUrl = ondrel::fileUrl(ready.u16string());
  if (pictures < 6 || pauseMs < 0 || !url || !readyUrl) {
    std::fprintf(stderr, "ondrel-bench-warm-steps: bad page, number of pictures or pause\n");
    return 2;
  }
  std::unique_ptr<BrowserSession> session =
      BrowserSession::start(
          {std::filesystem::absolute(argv[1]).u16string(), false, ondrel::Elevation::kNone},
          Deadline::after(std::chrono::seconds(30)))
          .session;
  if (!session) {
    std::fprintf(stderr, "ondrel-bench-warm-steps: the browser did not start\n");
    return 1;
  }
  std::map<std::string, Times> times;
  {
    PageSupply pages(session->connection(), PageSupply::Lifetime::kManyPages);
    // The first picture of each variant warms the browser and is left out.
    for (int n = -3; n < pictures; ++n) {
      const std::string variant = kVariants[(n + 3) % 3];
      const auto steps = picture(pages, session->connection(), *url, variant, *readyUrl, pauseMs);
      if (!steps) {
        std::fprintf(stderr, "ondrel-bench-warm-steps: a picture failed (%s)\n", variant.c_str());
        return 1;
      }
      if (n < 0) continue;
      for (const auto& [name, seconds] : *steps) times[variant][name].push_back(seconds);
    }
  }
  session->close(Deadline::after(std::chrono::seconds(5)));
  std::filesystem::remove(ready);
  std::printf("median milliseconds per step (%d pictures a variant, %d ms pause before each)\n",
              pictures / 3, pauseMs);
  std::printf("%-12s", "");
  for (const char* variant : kVariants) std::printf(" %10s", variant);
  std::printf("\n");
  for (const char* step : kSteps) {
    std::printf("%-12s", step);
    for (const char* variant : kVariants) {
      std::printf(" %10.1f", 1000 * median(times[variant][step]));
    }
    std::printf("\n");
  }
  return 0;
}
