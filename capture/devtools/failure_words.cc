#include "capture/devtools/failure_words.h"

namespace ondrel::devtools {
namespace {

using Kind = ConnectionFailure::Kind;

constexpr char kLoadEvent[] = "Page.loadEventFired";

std::string timedOut(const ConnectionFailure& failure, std::int32_t waitSeconds) {
  const std::string step = failure.method == kLoadEvent ? "the page had not finished loading"
                                                        : "no answer to " + failure.method;
  return "no picture after " + std::to_string(waitSeconds) + " s: " + step + "; browser stopped";
}

std::string closed(const ConnectionFailure& failure, std::optional<std::uint32_t> exitCode) {
  const std::string during = failure.method.empty() ? "" : " during " + failure.method;
  if (exitCode) return "browser exited with code " + std::to_string(*exitCode) + during;
  return "browser closed its DevTools pipe" + during;
}

}  // namespace

std::string failureInWords(const ConnectionFailure& failure, std::int32_t waitSeconds,
                           std::optional<std::uint32_t> exitCode) {
  switch (failure.kind) {
    case Kind::kErrorAnswer:
      return "DevTools: " + failure.method + " failed: " + failure.message;
    case Kind::kTimedOut:
      return timedOut(failure, waitSeconds);
    case Kind::kClosed:
      return closed(failure, exitCode);
    case Kind::kGarbled:
      break;
  }
  return "DevTools: the browser's message during " + failure.method +
         " is no JSON object, or far too long";
}

void reportConnectionFailure(CaptureReport* report, const ProtocolConnection& connection,
                             std::optional<std::uint32_t> exitCode) {
  if (report == nullptr || !connection.failure()) return;
  report->failed(failureInWords(*connection.failure(), report->waitSeconds(), exitCode));
}

}  // namespace ondrel::devtools
