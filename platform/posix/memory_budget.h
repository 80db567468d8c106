#ifndef ONDREL_PLATFORM_POSIX_MEMORY_BUDGET_H_
#define ONDREL_PLATFORM_POSIX_MEMORY_BUDGET_H_

#include <cstddef>

namespace ondrel::platform {

// The heap bytes one piece of work may hold at once. Blocks are taken from it
// before they are allocated and given back when they are freed; it remembers
// the most it ever held, which is how tests see what a decode needed.
class MemoryBudget {
 public:
  explicit MemoryBudget(std::size_t limit) : limit_(limit) {}
  MemoryBudget(const MemoryBudget&) = delete;
  MemoryBudget& operator=(const MemoryBudget&) = delete;

  // False, taking nothing, when `bytes` more would pass the limit.
  bool take(std::size_t bytes);
  void give(std::size_t bytes);

  std::size_t limit() const { return limit_; }
  std::size_t inUse() const { return inUse_; }
  std::size_t peak() const { return peak_; }

 private:
  std::size_t limit_;
  std::size_t inUse_ = 0;
  std::size_t peak_ = 0;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_MEMORY_BUDGET_H_
