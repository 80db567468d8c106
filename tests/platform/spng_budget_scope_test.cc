// The budget one decode draws from, and libspng's allocator that counts every block against it.

#include "platform/posix/spng_budget_scope.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/posix/memory_budget.h"

namespace ondrel::platform {
namespace {

TEST(MemoryBudget, TakesUpToItsLimitAndRemembersThePeak) {
  MemoryBudget budget(100);
  EXPECT_TRUE(budget.take(60));
  EXPECT_FALSE(budget.take(41)) << "past the limit";
  EXPECT_EQ(budget.inUse(), 60u) << "a refused take takes nothing";
  EXPECT_TRUE(budget.take(40));
  budget.give(70);
  EXPECT_EQ(budget.inUse(), 30u);
  EXPECT_EQ(budget.peak(), 100u);
  EXPECT_FALSE(budget.take(std::numeric_limits<std::size_t>::max())) << "no wrap";
}

class SpngAllocatorTest : public ::testing::Test {
 protected:
  const spng_alloc allocator_ = SpngBudgetScope::allocator();
};

TEST_F(SpngAllocatorTest, CountsEveryBlockWhileItLives) {
  MemoryBudget budget(1 << 20);
  SpngBudgetScope scope(budget);
  void* small = allocator_.malloc_fn(100);
  ASSERT_NE(small, nullptr);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(small) % alignof(std::max_align_t), 0u);
  // What a block costs beyond its size: the allocator's own bookkeeping.
  const std::size_t overhead = budget.inUse() - 100;
  EXPECT_LE(overhead, 64u);

  auto* zeroed = static_cast<std::uint8_t*>(allocator_.calloc_fn(10, 1000));
  ASSERT_NE(zeroed, nullptr);
  EXPECT_EQ(zeroed[0] | zeroed[5000] | zeroed[9999], 0);
  EXPECT_EQ(budget.inUse(), 100 + 10000 + 2 * overhead);

  std::memset(small, 7, 100);
  void* grown = allocator_.realloc_fn(small, 50000);
  ASSERT_NE(grown, nullptr);
  EXPECT_EQ(static_cast<std::uint8_t*>(grown)[99], 7) << "contents move along";
  EXPECT_EQ(budget.inUse(), 50000 + 10000 + 2 * overhead);
  void* shrunk = allocator_.realloc_fn(grown, 10);
  ASSERT_NE(shrunk, nullptr);
  EXPECT_EQ(budget.inUse(), 10 + 10000 + 2 * overhead);

  allocator_.free_fn(shrunk);
  allocator_.free_fn(zeroed);
  allocator_.free_fn(nullptr);
  EXPECT_EQ(budget.inUse(), 0u);
  EXPECT_GE(budget.peak(), 60000u);
}

TEST_F(SpngAllocatorTest, FailsPastTheBudgetAndOutsideEveryScope) {
  EXPECT_EQ(allocator_.malloc_fn(16), nullptr) << "no scope";
  MemoryBudget budget(1000);
  SpngBudgetScope scope(budget);
  EXPECT_EQ(allocator_.malloc_fn(1000), nullptr) << "the block's bookkeeping counts too";
  EXPECT_EQ(allocator_.calloc_fn(std::numeric_limits<std::size_t>::max() / 2, 4), nullptr);
  EXPECT_EQ(allocator_.malloc_fn(std::numeric_limits<std::size_t>::max()), nullptr);
  void* block = allocator_.malloc_fn(500);
  ASSERT_NE(block, nullptr);
  const std::size_t before = budget.inUse();
  EXPECT_EQ(allocator_.realloc_fn(block, 2000), nullptr);
  EXPECT_EQ(budget.inUse(), before) << "a failed resize leaves the block as it was";
  allocator_.free_fn(block);
  EXPECT_EQ(budget.inUse(), 0u);
}

TEST_F(SpngAllocatorTest, BlocksGoBackToTheBudgetTheyCameFrom) {
  MemoryBudget outer(1 << 20);
  MemoryBudget inner(1 << 20);
  SpngBudgetScope outerScope(outer);
  void* fromOuter = allocator_.malloc_fn(300);
  void* fromInner = nullptr;
  {
    SpngBudgetScope innerScope(inner);
    fromInner = allocator_.malloc_fn(200);
    allocator_.free_fn(fromOuter);
  }
  EXPECT_EQ(outer.inUse(), 0u);
  EXPECT_GT(inner.inUse(), 200u);
  void* again = allocator_.malloc_fn(10);
  EXPECT_GT(outer.inUse(), 0u) << "the outer scope is current again";
  allocator_.free_fn(fromInner);
  allocator_.free_fn(again);
  EXPECT_EQ(inner.inUse(), 0u);
  EXPECT_EQ(outer.inUse(), 0u);
}

}  // namespace
}  // namespace ondrel::platform
