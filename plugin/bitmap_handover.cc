#include "plugin/bitmap_handover.h"

#include <cstring>

#include "plugin/bottom_up_copy.h"
#include "plugin/result_code.h"

namespace ondrel {

ResultCode handOverBitmap(const platform::ScreenshotBitmap& screenshot, const PixelLayout& layout,
                          platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  const BitmapInfoHeader header = layout.header();
  std::optional<platform::MovableBlock> headerBlock =
      platform::MovableBlock::allocate(sizeof header);
  std::optional<platform::MovableBlock> pixelBlock =
      platform::MovableBlock::allocate(std::size_t(layout.blockSize));
  if (!headerBlock || !pixelBlock) return ResultCode::kOutOfMemory;
  {
    const platform::BlockLock headerBytes(headerBlock->handle());
    const platform::BlockLock pixelBytes(pixelBlock->handle());
    if (headerBytes.data() == nullptr || pixelBytes.data() == nullptr) {
      return ResultCode::kBitmapFailed;
    }
    std::memcpy(headerBytes.data(), &header, sizeof header);
    if (!copyAs24BitBottomUp(screenshot, header, static_cast<std::uint8_t*>(pixelBytes.data()),
                             std::size_t(layout.blockSize))) {
      return ResultCode::kBitmapFailed;
    }
  }
  *headerHandle = headerBlock->release();
  *pixelHandle = pixelBlock->release();
  return ResultCode::kSuccess;
}

}  // namespace ondrel
