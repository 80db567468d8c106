#include "platform/movable_block.h"

#include <cstdint>
#include <cstdlib>
#include <new>

namespace ondrel::platform {
namespace {

// A block is one allocation: this header, then the bytes. The handle is the
// header's address, so host and plug-in agree on it without sharing code.
struct alignas(std::max_align_t) BlockHeader {
  std::size_t size;
  unsigned locks;
};

BlockHeader* header(BlockHandle block) { return static_cast<BlockHeader*>(block); }

}  // namespace

std::optional<MovableBlock> MovableBlock::allocate(std::size_t bytes) {
  if (bytes > SIZE_MAX - sizeof(BlockHeader)) return std::nullopt;
  void* memory = std::malloc(sizeof(BlockHeader) + bytes);
  if (memory == nullptr) return std::nullopt;
  new (memory) BlockHeader{bytes, 0};
  return MovableBlock(memory);
}

void* lockBlock(BlockHandle block) {
  if (block == nullptr) return nullptr;
  ++header(block)->locks;
  return header(block) + 1;
}

void unlockBlock(BlockHandle block) {
  if (block != nullptr && header(block)->locks > 0) --header(block)->locks;
}

void freeBlock(BlockHandle block) { std::free(block); }

std::size_t blockSize(BlockHandle block) { return block == nullptr ? 0 : header(block)->size; }

}  // namespace ondrel::platform
