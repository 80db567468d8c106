#include "capture/devtools/counting_gate.h"

#include <algorithm>

namespace ondrel::devtools {

std::optional<CountingGate::Turn> CountingGate::enter(std::int32_t most,
                                                      const platform::Deadline& deadline) {
  most = std::max<std::int32_t>(most, 1);
  std::unique_lock lock(mutex_);
  const auto hasRoom = [&] { return inside_ < most; };
  if (const std::optional<platform::Deadline::Clock::time_point> at = deadline.at()) {
    if (!left_.wait_until(lock, *at, hasRoom)) return std::nullopt;
  } else {
    left_.wait(lock, hasRoom);
  }
  ++inside_;
  return Turn(*this);
}

void CountingGate::leave() {
  {
    const std::lock_guard lock(mutex_);
    --inside_;
  }
  // Every waiter looks again: each may have its own bound.
  left_.notify_all();
}

std::int32_t CountingGate::inside() const {
  const std::lock_guard lock(mutex_);
  return inside_;
}

}  // namespace ondrel::devtools
