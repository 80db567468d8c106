#ifndef ONDREL_CAPTURE_CAPTURE_REPORT_H_
#define ONDREL_CAPTURE_CAPTURE_REPORT_H_

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace ondrel {

// What a capture tells its caller besides the picture, so that the user can
// learn why a picture failed: the first failure's reason in words, the
// engine that took the picture, and what happened to browsers on the way.
// The engines fill it and never write it anywhere; the plug-in's log does.
// It holds names, numbers and the browser's own messages, never a page's
// contents. One call fills one report, on its own thread.
class CaptureReport {
 public:
  using Clock = std::chrono::system_clock;

  struct Event {
    Clock::time_point at;
    std::string text;
  };

  // The first reason is the one kept: later failures follow from it.
  void failed(std::string reason) {
    if (failure_.empty()) failure_ = std::move(reason);
  }
  // The reason so far, forgotten: another engine tries next.
  std::string takeFailure() { return std::exchange(failure_, {}); }
  // A browser started or closed, or something the user should hear once.
  void event(std::string text) { events_.push_back({Clock::now(), std::move(text)}); }
  void tookWith(std::string engine) { engine_ = std::move(engine); }
  // The picture's time limit in seconds (0: none), for reasons that name it.
  void limitIs(std::int32_t waitSeconds) { waitSeconds_ = waitSeconds; }
  std::int32_t waitSeconds() const { return waitSeconds_; }

  const std::string& failure() const { return failure_; }
  const std::vector<Event>& events() const { return events_; }
  // Empty until an engine took the picture.
  const std::string& engine() const { return engine_; }

 private:
  std::string failure_;
  std::vector<Event> events_;
  std::string engine_;
  std::int32_t waitSeconds_ = 0;
};

// Fills `report` when there is one: most captures have nobody listening.
template <typename... Words>
void reportFailure(CaptureReport* report, Words&&... words) {
  if (report != nullptr) report->failed((std::string() + ... + std::forward<Words>(words)));
}

template <typename... Words>
void reportEvent(CaptureReport* report, Words&&... words) {
  if (report != nullptr) report->event((std::string() + ... + std::forward<Words>(words)));
}

// Why a screenshot that came does not decode, from its first bytes: both
// engines tell it alike.
std::string whyScreenshotDoesNotDecode(std::string_view start);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_CAPTURE_REPORT_H_
