#include "plugin/picture_driver.h"

#include "capture/page_capture.h"
#include "plugin/bitmap_handover.h"
#include "plugin/pixel_layout.h"
#include "plugin/request_from_settings.h"

namespace ondrel {

ResultCode renderPicture(const SettingsSource& settings, std::optional<WideView> fileName,
                         std::span<const std::uint8_t> imageBytes,
                         platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (!fileName) return ResultCode::kNotAccepted;
  const std::optional<CaptureRequest> request = captureRequestFor(settings, *fileName, imageBytes);
  if (!request) return ResultCode::kOutOfMemory;

  // A picture the viewer's blocks cannot hold is refused before any browser
  // runs; a whole page's height is known only from the page.
  const std::optional<PixelLayout> layout = PixelLayout::of(
      {request->captureWidth, request->devTools.fullPage ? 1 : request->captureHeight});
  if (!layout) return ResultCode::kOutOfMemory;

  const std::unique_ptr<platform::ScreenshotBitmap> screenshot = capturePage(*request);
  if (!screenshot) return ResultCode::kReadOrCaptureFailed;
  if (!request->devTools.fullPage)
    return handOverBitmap(*screenshot, *layout, headerHandle, pixelHandle);
  const std::optional<PixelLayout> wholePage =
      PixelLayout::of({request->captureWidth, screenshot->height()});
  if (!wholePage) return ResultCode::kOutOfMemory;
  return handOverBitmap(*screenshot, *wholePage, headerHandle, pixelHandle);
}

}  // namespace ondrel
