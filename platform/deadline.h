#ifndef ONDREL_PLATFORM_DEADLINE_H_
#define ONDREL_PLATFORM_DEADLINE_H_

#include <algorithm>
#include <chrono>
#include <optional>

namespace ondrel::platform {

// The moment by which a piece of work must be done, or none at all. One
// deadline is taken at the start of a picture and handed down to every wait.
class Deadline {
 public:
  using Clock = std::chrono::steady_clock;

  static Deadline never() { return Deadline(std::nullopt); }
  static Deadline after(std::chrono::milliseconds span) { return Deadline(Clock::now() + span); }

  bool isSet() const { return at_.has_value(); }
  // The moment itself, for waits that take a time point; nothing for no limit.
  std::optional<Clock::time_point> at() const { return at_; }
  bool hasPassed() const { return at_ && Clock::now() >= *at_; }

  // The earlier of this deadline and `span` from now.
  Deadline atMost(std::chrono::milliseconds span) const {
    const Clock::time_point soon = Clock::now() + span;
    return Deadline(at_ ? std::min(*at_, soon) : soon);
  }

  // Whole milliseconds left, rounded up and at most `cap`; 0 once passed;
  // `cap` when there is no limit.
  int remainingMilliseconds(int cap) const {
    if (!at_) return cap;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(*at_ - Clock::now()).count();
    return int(std::clamp<long long>(left, 0, cap));
  }

 private:
  explicit Deadline(std::optional<Clock::time_point> at) : at_(at) {}
  std::optional<Clock::time_point> at_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_DEADLINE_H_
