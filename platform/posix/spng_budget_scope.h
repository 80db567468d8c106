#ifndef ONDREL_PLATFORM_POSIX_SPNG_BUDGET_SCOPE_H_
#define ONDREL_PLATFORM_POSIX_SPNG_BUDGET_SCOPE_H_

#include <spng.h>

#include "platform/posix/memory_budget.h"

namespace ondrel::platform {

// Counts every block libspng (and zlib under it) allocates against a budget.
//
// libspng's allocator functions take no context, so the budget is found
// through the calling thread: while a scope lives, blocks asked for on its
// thread are taken from its budget, and past the budget the allocation fails
// as if memory had run out. Each block remembers the budget it came from and
// is given back to it wherever it is freed. Outside every scope allocations
// fail. The context made with `allocator()` must be freed while the scope
// lives, and the budget must outlive the scope.
class SpngBudgetScope {
 public:
  explicit SpngBudgetScope(MemoryBudget& budget);
  SpngBudgetScope(const SpngBudgetScope&) = delete;
  SpngBudgetScope& operator=(const SpngBudgetScope&) = delete;
  ~SpngBudgetScope();

  // The functions to hand to spng_ctx_new2.
  static spng_alloc allocator();

 private:
  MemoryBudget* previous_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_SPNG_BUDGET_SCOPE_H_
