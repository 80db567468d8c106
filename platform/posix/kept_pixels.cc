#include "platform/posix/kept_pixels.h"

#include <algorithm>

namespace ondrel::platform {
namespace {

class PixelBuffer final : public ScreenshotBitmap {
 public:
  using Pixels = std::unique_ptr<std::uint8_t, FreeMemory>;
  PixelBuffer(int width, int height, Pixels pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  const std::uint8_t* pixels() const override { return pixels_.get(); }

 private:
  int width_;
  int height_;
  Pixels pixels_;
};

}  // namespace

KeptPixels::~KeptPixels() {
  if (pixels_) budget_.give(rowBytes() * rowsHeld_);
}

std::uint8_t* KeptPixels::row(std::uint32_t index) {
  if (index >= height_ || (index >= rowsHeld_ && !growTo(index + 1))) return nullptr;
  return pixels_.get() + rowBytes() * index;
}

// Doubling keeps the number of moves logarithmic in the height; the last step
// stops at the height, so the rows held never pass what is kept.
bool KeptPixels::growTo(std::uint32_t rows) {
  const std::uint32_t target = std::uint32_t(
      std::min<std::uint64_t>(height_, std::max<std::uint64_t>(rows, 2ull * rowsHeld_)));
  const std::size_t added = rowBytes() * (target - rowsHeld_);
  if (!budget_.take(added)) return false;
  void* grown = std::realloc(pixels_.get(), rowBytes() * target);
  if (grown == nullptr) {
    budget_.give(added);
    return false;
  }
  static_cast<void>(pixels_.release());
  pixels_.reset(static_cast<std::uint8_t*>(grown));
  rowsHeld_ = target;
  return true;
}

std::unique_ptr<ScreenshotBitmap> KeptPixels::toBitmap() {
  if (rowsHeld_ != height_ || !pixels_) return nullptr;
  // Handed over still charged: without them, the destructor gives nothing back.
  PixelBuffer::Pixels pixels(pixels_.release());
  return std::make_unique<PixelBuffer>(int(width_), int(height_), std::move(pixels));
}

}  // namespace ondrel::platform
