#include "capture/devtools/failure_words.h"

namespace ondrel::devtools {
namespace {

using Kind = ConnectionFailure::Kind;

constexpr char kLoadEvent[] = "Page.loadEventFired";

// The step cut short: a page that never finished loading is worth its own
// words, since that is where slow pages fail.
std::string stepOf(const ConnectionFailure& failure) {
  return failure.method == kLoadEvent ? "the page had not finished loading"
                                      : "no answer to " + failure.method;
}

std::string timedOut(const ConnectionFailure& failure, std::int32_t waitSeconds, BrowserFate fate) {
  const char* const after =
      fate == BrowserFate::kKept ? "; page dropped, browser kept" : "; browser stopped";
  return "no picture after " + std::to_string(waitSeconds) + " s: " + stepOf(failure) + after;
}

std::string pageGone(const ConnectionFailure& failure) {
  const std::string during =
      failure.method == kLoadEvent ? " while loading" : " during " + failure.method;
  return "the page crashed or closed itself" + during;
}

std::string closed(const ConnectionFailure& failure, std::optional<std::uint32_t> exitCode) {
  const std::string during = failure.method.empty() ? "" : " during " + failure.method;
  if (exitCode) return "browser exited with code " + std::to_string(*exitCode) + during;
  return "browser closed its DevTools pipe" + during;
}

}  // namespace

std::string failureInWords(const ConnectionFailure& failure, std::int32_t waitSeconds,
                           std::optional<std::uint32_t> exitCode, BrowserFate fate) {
  switch (failure.kind) {
    case Kind::kErrorAnswer:
      return "DevTools: " + failure.method + " failed: " + failure.message;
    case Kind::kTimedOut:
      return timedOut(failure, waitSeconds, fate);
    case Kind::kPageGone:
      return pageGone(failure);
    case Kind::kClosed:
      return closed(failure, exitCode);
    case Kind::kGarbled:
      break;
  }
  return "DevTools: the browser's message during " + failure.method +
         " is no JSON object, or far too long";
}

void reportConnectionFailure(CaptureReport* report, const ProtocolConnection& connection,
                             std::optional<std::uint32_t> exitCode, BrowserFate fate) {
  if (report == nullptr || !connection.failure()) return;
  report->failed(failureInWords(*connection.failure(), report->waitSeconds(), exitCode, fate));
}

}  // namespace ondrel::devtools
