#ifndef ONDREL_CAPTURE_DEVTOOLS_COUNTING_GATE_H_
#define ONDREL_CAPTURE_DEVTOOLS_COUNTING_GATE_H_

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <optional>
#include <utility>

#include "platform/deadline.h"

namespace ondrel::devtools {

// Lets a bounded number of threads in at once, each waiting no longer than
// its deadline: the pictures a kept browser draws at once (two cores lay out
// two pages well, eight at once only make each slower), and with a bound of
// 1 the turns at starting and closing it. The bound is the caller's, asked
// afresh at every entry, so that a changed setting holds from the next
// picture on. Built on a condition variable, whose timed wait every
// ThreadSanitizer follows, unlike a timed mutex's.
class CountingGate {
 public:
  // A place inside, given up when the object goes.
  class Turn {
   public:
    Turn(Turn&& other) noexcept : gate_(std::exchange(other.gate_, nullptr)) {}
    Turn& operator=(Turn&&) = delete;
    Turn(const Turn&) = delete;
    ~Turn() {
      if (gate_ != nullptr) gate_->leave();
    }

   private:
    friend class CountingGate;
    explicit Turn(CountingGate& gate) : gate_(&gate) {}

    CountingGate* gate_;  // none once moved from
  };

  CountingGate() = default;
  CountingGate(const CountingGate&) = delete;
  CountingGate& operator=(const CountingGate&) = delete;

  // Waits until fewer than `most` are inside, and no longer than the
  // deadline; the place then, nothing when the deadline passed first.
  std::optional<Turn> enter(std::int32_t most, const platform::Deadline& deadline);

  // How many are inside now.
  std::int32_t inside() const;

 private:
  void leave();

  mutable std::mutex mutex_;
  std::condition_variable left_;
  std::int32_t inside_ = 0;
};

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_COUNTING_GATE_H_
