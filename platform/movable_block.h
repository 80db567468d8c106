#ifndef ONDREL_PLATFORM_MOVABLE_BLOCK_H_
#define ONDREL_PLATFORM_MOVABLE_BLOCK_H_

#include <cstddef>
#include <optional>

namespace ondrel::platform {

// A movable memory block, the currency in which a picture passes to the
// viewer: the viewer locks it to reach its bytes and frees it when done.
using BlockHandle = void*;

void* lockBlock(BlockHandle block);
void unlockBlock(BlockHandle block);
void freeBlock(BlockHandle block);
std::size_t blockSize(BlockHandle block);

// Owns a block until it is released to the viewer.
class MovableBlock {
 public:
  static std::optional<MovableBlock> allocate(std::size_t bytes);

  MovableBlock(MovableBlock&& other) noexcept : handle_(other.handle_) { other.handle_ = nullptr; }
  MovableBlock& operator=(MovableBlock&&) = delete;
  MovableBlock(const MovableBlock&) = delete;
  ~MovableBlock() {
    if (handle_ != nullptr) freeBlock(handle_);
  }

  BlockHandle handle() const { return handle_; }
  BlockHandle release() {
    BlockHandle handle = handle_;
    handle_ = nullptr;
    return handle;
  }

 private:
  explicit MovableBlock(BlockHandle handle) : handle_(handle) {}
  BlockHandle handle_;
};

// Keeps a block locked for the object's lifetime.
class BlockLock {
 public:
  explicit BlockLock(BlockHandle block) : block_(block), data_(lockBlock(block)) {}
  BlockLock(const BlockLock&) = delete;
  BlockLock& operator=(const BlockLock&) = delete;
  ~BlockLock() {
    if (data_ != nullptr) unlockBlock(block_);
  }

  // Null when the block could not be locked.
  void* data() const { return data_; }

 private:
  BlockHandle block_;
  void* data_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_MOVABLE_BLOCK_H_
