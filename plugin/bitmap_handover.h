#ifndef ONDREL_PLUGIN_BITMAP_HANDOVER_H_
#define ONDREL_PLUGIN_BITMAP_HANDOVER_H_

#include "platform/movable_block.h"
#include "platform/screenshot_bitmap.h"
#include "plugin/pixel_layout.h"
#include "plugin/result_code.h"

namespace ondrel {

// Copies the screenshot into two new movable blocks, the 40-byte bitmap header
// and the 24-bit bottom-up rows, and on success hands both to the viewer
// through the two handles. The handles are written only on success.
ResultCode handOverBitmap(const platform::ScreenshotBitmap& screenshot, const PixelLayout& layout,
                          platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_BITMAP_HANDOVER_H_
