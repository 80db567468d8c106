#ifndef ONDREL_CAPTURE_STAGING_GFM_PARSER_MEMORY_H_
#define ONDREL_CAPTURE_STAGING_GFM_PARSER_MEMORY_H_

#include <cmark-gfm.h>

#include <cstddef>
#include <cstdint>

namespace ondrel {

// The memory of one conversion by cmark-gfm: its parser, nodes and output take their blocks
// from here. cmark-gfm's own allocator ends the process when an allocation fails, and its
// buffers end it when they would grow past 1 GiB; neither may happen in a viewer's process.
// Here an allocation that fails, that is larger than a block may be (kLargestBlock, which keeps
// every buffer short of that limit for documents up to kLargestDocument), or that would take
// the memory past its budget throws std::bad_alloc instead. The exception unwinds through
// cmark-gfm's frames, and every block it leaves behind is freed with this object.
//
// cmark-gfm hands its allocator no context, so the object serves the thread that made it, for
// as long as it lives: new blocks on that thread come from it. Every block knows its owner.
class CmarkMemory {
 public:
  static constexpr std::size_t kLargestBlock = std::size_t{512} << 20;
  static constexpr std::size_t kLargestDocument = std::size_t{256} << 20;
  static constexpr std::size_t kUnlimited = SIZE_MAX;

  // `budget`: the bytes that may be held at once.
  explicit CmarkMemory(std::size_t budget = kUnlimited);
  ~CmarkMemory();
  CmarkMemory(const CmarkMemory&) = delete;
  CmarkMemory& operator=(const CmarkMemory&) = delete;

  // What to hand cmark-gfm's functions that take an allocator.
  cmark_mem* allocator() { return &allocator_; }

  std::size_t blocksHeld() const { return blocksHeld_; }

 private:
  struct Block;

  static void* allocateZeroed(std::size_t count, std::size_t size);
  static void* reallocate(void* data, std::size_t size);
  static void release(void* data);

  void* allocate(std::size_t size);
  void reserve(std::size_t blockSize, std::size_t more);
  void link(Block* block);
  void unlink(Block* block);

  cmark_mem allocator_{allocateZeroed, reallocate, release};
  std::size_t budget_;
  std::size_t bytesHeld_ = 0;
  std::size_t blocksHeld_ = 0;
  Block* first_ = nullptr;
  CmarkMemory* previous_;  // the thread's memory before this one
};

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_STAGING_GFM_PARSER_MEMORY_H_
