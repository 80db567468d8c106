#include "platform/posix/spng_budget_scope.h"

#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace ondrel::platform {
namespace {

// Set only by the scopes, which restore what they found.
thread_local MemoryBudget* currentBudget = nullptr;

// Lies before every block handed out; its size keeps the block aligned as
// malloc's own blocks are.
struct alignas(std::max_align_t) BlockHeader {
  std::size_t total;  // header included
  MemoryBudget* budget;
};

BlockHeader* headerOf(void* block) { return static_cast<BlockHeader*>(block) - 1; }

bool totalFor(std::size_t size, std::size_t& total) {
  if (size > std::numeric_limits<std::size_t>::max() - sizeof(BlockHeader)) return false;
  total = size + sizeof(BlockHeader);
  return true;
}

void* allocate(std::size_t size) {
  MemoryBudget* budget = currentBudget;
  std::size_t total = 0;
  if (budget == nullptr || !totalFor(size, total) || !budget->take(total)) return nullptr;
  auto* header = static_cast<BlockHeader*>(std::malloc(total));
  if (header == nullptr) {
    budget->give(total);
    return nullptr;
  }
  *header = BlockHeader{total, budget};
  return header + 1;
}

void* allocateZeroed(std::size_t count, std::size_t size) {
  if (size != 0 && count > std::numeric_limits<std::size_t>::max() / size) return nullptr;
  void* block = allocate(count * size);
  if (block != nullptr) std::memset(block, 0, count * size);
  return block;
}

void release(void* block) {
  if (block == nullptr) return;
  BlockHeader* header = headerOf(block);
  header->budget->give(header->total);
  std::free(header);
}

// A block that grows takes the difference first; one that shrinks gives it
// back once it has shrunk. A failed resize leaves block and budget as they were.
void* resize(void* block, std::size_t size) {
  if (block == nullptr) return allocate(size);
  const BlockHeader old = *headerOf(block);
  std::size_t total = 0;
  if (!totalFor(size, total)) return nullptr;
  const bool grows = total > old.total;
  if (grows && !old.budget->take(total - old.total)) return nullptr;
  auto* header = static_cast<BlockHeader*>(std::realloc(headerOf(block), total));
  if (header == nullptr) {
    if (grows) old.budget->give(total - old.total);
    return nullptr;
  }
  if (!grows) old.budget->give(old.total - total);
  header->total = total;
  return header + 1;
}

}  // namespace

SpngBudgetScope::SpngBudgetScope(MemoryBudget& budget) : previous_(currentBudget) {
  currentBudget = &budget;
}

SpngBudgetScope::~SpngBudgetScope() { currentBudget = previous_; }

spng_alloc SpngBudgetScope::allocator() {
  return spng_alloc{allocate, resize, allocateZeroed, release};
}

}  // namespace ondrel::platform
