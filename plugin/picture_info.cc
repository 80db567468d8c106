#include "plugin/picture_info.h"

#include "capture/page_capture.h"
#include "capture/page_kinds.h"
#include "plugin/capture_size.h"
#include "plugin/memory_image.h"
#include "plugin/request_from_settings.h"

namespace ondrel {
namespace {

void fill(PictureInfoRecord& info, PictureSize size) {
  info.left = 0;
  info.top = 0;
  info.pixelWidth = size.width;
  info.pixelHeight = size.height;
  info.densityX = 0;
  info.densityY = 0;
  info.bitsPerPixel = 24;
  info.textHandle = nullptr;
}

// The size GetPicture will deliver for a whole page: the page laid out once.
ResultCode describeWholePage(const SettingsSource& settings, WideView pageName,
                             std::span<const std::uint8_t> imageBytes, PageOrigin origin,
                             PictureInfoRecord& info, CaptureReport* report) {
  std::optional<CaptureRequest> request = captureRequestFor(settings, pageName, imageBytes, origin);
  if (!request) {
    reportFailure(report, "the picture is too wide for a 24-bit bitmap");
    return ResultCode::kOutOfMemory;
  }
  request->report = report;
  const std::optional<std::int32_t> height = measurePageHeight(*request);
  if (!height) return ResultCode::kReadOrCaptureFailed;
  fill(info, {request->pictureWidth(), *height});
  return ResultCode::kSuccess;
}

ResultCode describePage(const SettingsSource& settings, WideView pageName,
                        std::span<const std::uint8_t> imageBytes, PageOrigin origin,
                        PictureInfoRecord& info, CaptureReport* report) {
  if (settings.fullPage()) {
    return describeWholePage(settings, pageName, imageBytes, origin, info, report);
  }
  const bool isSvgDrawing = settings.svgEnabled() && pageKindOf(pageName) == PageKind::kSvgDrawing;
  fill(info,
       inDevicePixels(pictureSize(settings, isSvgDrawing, imageBytes), settings.deviceScale()));
  return ResultCode::kSuccess;
}

}  // namespace

ResultCode describePicture(const SettingsSource& settings, std::optional<WideView> fileName,
                           std::span<const std::uint8_t> imageBytes, PictureInfoRecord& info,
                           CaptureReport* report) {
  if (fileName) {
    return describePage(settings, *fileName, imageBytes, PageOrigin::kFile, info, report);
  }
  if (settings.memoryImagesTaken()) {
    const std::optional<WideString> name = memoryImageName(settings, imageBytes, report);
    if (!name) return ResultCode::kNotAccepted;
    return describePage(settings, *name, imageBytes, PageOrigin::kMemory, info, report);
  }
  // Without memory images taken, an image without a name counts as a
  // drawing while SVG drawings are on.
  const PictureSize size = pictureSize(settings, settings.svgEnabled(), imageBytes);
  fill(info, inDevicePixels(size, settings.deviceScale()));
  return ResultCode::kSuccess;
}

}  // namespace ondrel
