#ifndef ONDREL_PLATFORM_POSIX_KEPT_PIXELS_H_
#define ONDREL_PLATFORM_POSIX_KEPT_PIXELS_H_

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/posix/memory_budget.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel::platform {

// Frees what malloc and realloc gave.
struct FreeMemory {
  void operator()(std::uint8_t* memory) const { std::free(memory); }
};

// The pixels a decode keeps, rows of width * 4 bytes, allocated as the decode
// reaches them: memory follows the rows a file has really delivered, not the
// height its header claims. Every byte is taken from the budget first.
class KeptPixels {
 public:
  KeptPixels(std::uint32_t width, std::uint32_t height, MemoryBudget& budget)
      : width_(width), height_(height), budget_(budget) {}
  KeptPixels(const KeptPixels&) = delete;
  KeptPixels& operator=(const KeptPixels&) = delete;
  ~KeptPixels();

  std::size_t rowBytes() const { return std::size_t(width_) * 4; }

  // Row `index` (below the height), with every row above it; nothing when
  // the budget or the memory runs out. Rows not yet written hold anything.
  std::uint8_t* row(std::uint32_t index);

  // All rows as a bitmap, once the last one has been reached; nothing before.
  // The pixels stay charged to the budget.
  std::unique_ptr<ScreenshotBitmap> toBitmap();

 private:
  bool growTo(std::uint32_t rows);

  std::uint32_t width_;
  std::uint32_t height_;
  MemoryBudget& budget_;
  std::unique_ptr<std::uint8_t, FreeMemory> pixels_;
  std::uint32_t rowsHeld_ = 0;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_KEPT_PIXELS_H_
