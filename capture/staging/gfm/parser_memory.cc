#include "capture/staging/gfm/parser_memory.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace ondrel {
namespace {

// The memory that serves new blocks on this thread. cmark-gfm's allocator functions take no
// context, and a conversion runs on one thread from start to end.
thread_local CmarkMemory* threadMemory = nullptr;

CmarkMemory& servingMemory() {
  if (threadMemory == nullptr) throw std::bad_alloc();
  return *threadMemory;
}

}  // namespace

// Sits before each block's data; its size keeps the data aligned as malloc's is.
struct alignas(alignof(std::max_align_t)) CmarkMemory::Block {
  CmarkMemory* owner;
  Block* previous;
  Block* next;
  std::size_t size;
};

CmarkMemory::CmarkMemory(std::size_t budget) : budget_(budget), previous_(threadMemory) {
  threadMemory = this;
}

CmarkMemory::~CmarkMemory() {
  threadMemory = previous_;
  while (first_ != nullptr) {
    Block* next = first_->next;
    std::free(first_);
    first_ = next;
  }
}

void* CmarkMemory::allocateZeroed(std::size_t count, std::size_t size) {
  if (size != 0 && count > SIZE_MAX / size) throw std::bad_alloc();
  void* data = servingMemory().allocate(count * size);
  std::memset(data, 0, count * size);
  return data;
}

void* CmarkMemory::reallocate(void* data, std::size_t size) {
  if (data == nullptr) return servingMemory().allocate(size);
  Block* block = static_cast<Block*>(data) - 1;
  CmarkMemory& owner = *block->owner;
  const std::size_t oldSize = block->size;
  const std::size_t grown = size > oldSize ? size - oldSize : 0;
  owner.reserve(size, grown);
  owner.unlink(block);
  void* moved = std::realloc(block, sizeof(Block) + size);
  if (moved == nullptr) {
    owner.link(block);
    owner.bytesHeld_ -= grown;
    throw std::bad_alloc();
  }
  block = static_cast<Block*>(moved);
  block->size = size;
  owner.link(block);
  if (size < oldSize) owner.bytesHeld_ -= oldSize - size;
  return block + 1;
}

void CmarkMemory::release(void* data) {
  if (data == nullptr) return;
  Block* block = static_cast<Block*>(data) - 1;
  CmarkMemory& owner = *block->owner;
  owner.unlink(block);
  owner.bytesHeld_ -= block->size;
  std::free(block);
}

void* CmarkMemory::allocate(std::size_t size) {
  reserve(size, size);
  void* memory = std::malloc(sizeof(Block) + size);
  if (memory == nullptr) {
    bytesHeld_ -= size;
    throw std::bad_alloc();
  }
  Block* block = static_cast<Block*>(memory);
  block->size = size;
  link(block);
  return block + 1;
}

// Counts `more` bytes as held for a block of `blockSize`, or throws when the block or the
// whole would be too large.
void CmarkMemory::reserve(std::size_t blockSize, std::size_t more) {
  if (blockSize > kLargestBlock || more > budget_ - bytesHeld_) throw std::bad_alloc();
  bytesHeld_ += more;
}

void CmarkMemory::link(Block* block) {
  block->owner = this;
  block->previous = nullptr;
  block->next = first_;
  if (first_ != nullptr) first_->previous = block;
  first_ = block;
  ++blocksHeld_;
}

void CmarkMemory::unlink(Block* block) {
  if (block->previous != nullptr) {
    block->previous->next = block->next;
  } else {
    first_ = block->next;
  }
  if (block->next != nullptr) block->next->previous = block->previous;
  --blocksHeld_;
}

}  // namespace ondrel
