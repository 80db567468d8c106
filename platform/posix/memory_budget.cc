#include "platform/posix/memory_budget.h"

#include <algorithm>

namespace ondrel::platform {

bool MemoryBudget::take(std::size_t bytes) {
  if (bytes > limit_ - inUse_) return false;
  inUse_ += bytes;
  peak_ = std::max(peak_, inUse_);
  return true;
}

void MemoryBudget::give(std::size_t bytes) { inUse_ -= std::min(bytes, inUse_); }

}  // namespace ondrel::platform
