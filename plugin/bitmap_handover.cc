#include "plugin/bitmap_handover.h"

#include <cstring>

#include "plugin/bottom_up_copy.h"
#include "plugin/result_code.h"

namespace ondrel {

int handOverBitmap(const platform::ScreenshotBitmap& screenshot, const PixelLayout& layout,
                   platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  const BitmapInfoHeader header = layout.header();
  std::optional<platform::MovableBlock> headerBlock =
      platform::MovableBlock::allocate(sizeof header);
  std::optional<platform::MovableBlock> pixelBlock =
      platform::MovableBlock::allocate(std::size_t(layout.blockSize));
  if (!headerBlock || !pixelBlock) return kOutOfMemory;
  {
    const platform::BlockLock headerBytes(headerBlock->handle());
    const platform::BlockLock pixelBytes(pixelBlock->handle());
    if (headerBytes.data() == nullptr || pixelBytes.data() == nullptr) return kBitmapFailed;
    std::memcpy(headerBytes.data(), &header, sizeof header);
    if (!copyAs24BitBottomUp(screenshot, header, static_cast<std::uint8_t*>(pixelBytes.data()),
                             std::size_t(layout.blockSize))) {
      return kBitmapFailed;
    }
  }
  *headerHandle = headerBlock->release();
  *pixelHandle = pixelBlock->release();
  return kSuccess;
}

}  // namespace ondrel
