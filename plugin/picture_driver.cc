#include "plugin/picture_driver.h"

#include "capture/page_capture.h"
#include "plugin/bitmap_handover.h"
#include "plugin/memory_image.h"
#include "plugin/pixel_layout.h"
#include "plugin/request_from_settings.h"

namespace ondrel {
namespace {

ResultCode capture(const std::optional<CaptureRequest>& request,
                   platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (!request) return ResultCode::kOutOfMemory;

  // A picture the viewer's blocks cannot hold is refused before any browser
  // runs; a whole page's height is known only from the page.
  const std::optional<PixelLayout> layout = PixelLayout::of(
      {request->pictureWidth(), request->devTools.fullPage ? 1 : request->pictureHeight()});
  if (!layout) return ResultCode::kOutOfMemory;

  const std::unique_ptr<platform::ScreenshotBitmap> screenshot = capturePage(*request);
  if (!screenshot) return ResultCode::kReadOrCaptureFailed;
  if (!request->devTools.fullPage)
    return handOverBitmap(*screenshot, *layout, headerHandle, pixelHandle);
  const std::optional<PixelLayout> wholePage =
      PixelLayout::of({request->pictureWidth(), screenshot->height()});
  if (!wholePage) return ResultCode::kOutOfMemory;
  return handOverBitmap(*screenshot, *wholePage, headerHandle, pixelHandle);
}

}  // namespace

ResultCode renderPicture(const SettingsSource& settings, std::optional<WideView> fileName,
                         std::span<const std::uint8_t> imageBytes,
                         platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (fileName) {
    return capture(captureRequestFor(settings, *fileName, imageBytes, PageOrigin::kFile),
                   headerHandle, pixelHandle);
  }
  const std::optional<WideString> name = memoryImageName(settings, imageBytes);
  if (!name) return ResultCode::kNotAccepted;
  return capture(captureRequestFor(settings, *name, imageBytes, PageOrigin::kMemory), headerHandle,
                 pixelHandle);
}

}  // namespace ondrel
