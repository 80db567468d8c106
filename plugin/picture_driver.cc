#include "plugin/picture_driver.h"

#include "capture/page_capture.h"
#include "plugin/bitmap_handover.h"
#include "plugin/memory_image.h"
#include "plugin/pixel_layout.h"
#include "plugin/request_from_settings.h"

namespace ondrel {
namespace {

ResultCode capture(std::optional<CaptureRequest> request, CaptureReport* report,
                   platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (!request) {
    reportFailure(report, "the picture is too wide for a 24-bit bitmap");
    return ResultCode::kOutOfMemory;
  }
  request->report = report;

  // A picture the viewer's blocks cannot hold is refused before any browser
  // runs; a whole page's height is known only from the page.
  const std::optional<PixelLayout> layout = PixelLayout::of(
      {request->pictureWidth(), request->devTools.fullPage ? 1 : request->pictureHeight()});
  if (!layout) {
    reportFailure(report, "the picture is too large for a 24-bit bitmap");
    return ResultCode::kOutOfMemory;
  }

  const std::unique_ptr<platform::ScreenshotBitmap> screenshot = capturePage(*request);
  if (!screenshot) return ResultCode::kReadOrCaptureFailed;
  const std::optional<PixelLayout> handedOver =
      request->devTools.fullPage ? PixelLayout::of({request->pictureWidth(), screenshot->height()})
                                 : layout;
  if (!handedOver) {
    reportFailure(report, "the whole page is too large for a 24-bit bitmap");
    return ResultCode::kOutOfMemory;
  }
  const ResultCode handed = handOverBitmap(*screenshot, *handedOver, headerHandle, pixelHandle);
  if (handed != ResultCode::kSuccess) {
    reportFailure(report, "the picture's memory blocks could not be made for the viewer");
  }
  return handed;
}

}  // namespace

ResultCode renderPicture(const SettingsSource& settings, std::optional<WideView> fileName,
                         std::span<const std::uint8_t> imageBytes,
                         platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle,
                         CaptureReport* report) {
  if (fileName) {
    return capture(captureRequestFor(settings, *fileName, imageBytes, PageOrigin::kFile), report,
                   headerHandle, pixelHandle);
  }
  const std::optional<WideString> name = memoryImageName(settings, imageBytes, report);
  if (!name) return ResultCode::kNotAccepted;
  return capture(captureRequestFor(settings, *name, imageBytes, PageOrigin::kMemory), report,
                 headerHandle, pixelHandle);
}

}  // namespace ondrel
