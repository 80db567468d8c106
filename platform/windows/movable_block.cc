#include "platform/movable_block.h"

#include <windows.h>

namespace ondrel::platform {

std::optional<MovableBlock> MovableBlock::allocate(std::size_t bytes) {
  HLOCAL block = LocalAlloc(LMEM_MOVEABLE, bytes);
  if (block == nullptr) return std::nullopt;
  return MovableBlock(block);
}

void* lockBlock(BlockHandle block) { return LocalLock(static_cast<HLOCAL>(block)); }

void unlockBlock(BlockHandle block) { LocalUnlock(static_cast<HLOCAL>(block)); }

void freeBlock(BlockHandle block) { LocalFree(static_cast<HLOCAL>(block)); }

std::size_t blockSize(BlockHandle block) { return LocalSize(static_cast<HLOCAL>(block)); }

}  // namespace ondrel::platform
