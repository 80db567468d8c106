#include "plugin/picture_info.h"

#include "capture/page_capture.h"
#include "capture/page_kinds.h"
#include "plugin/capture_size.h"
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
ResultCode describeWholePage(const SettingsSource& settings, WideView fileName,
                             std::span<const std::uint8_t> imageBytes, PictureInfoRecord& info,
                             CaptureReport* report) {
  std::optional<CaptureRequest> request = captureRequestFor(settings, fileName, imageBytes);
  if (!request) {
    reportFailure(report, "the picture is too wide for a 24-bit bitmap");
    return ResultCode::kOutOfMemory;
  }
  request->report = report;
  const std::optional<std::int32_t> height = measurePageHeight(*request);
  if (!height) return ResultCode::kReadOrCaptureFailed;
  fill(info, {request->captureWidth, *height});
  return ResultCode::kSuccess;
}

}  // namespace

ResultCode describePicture(const SettingsSource& settings, std::optional<WideView> fileName,
                           std::span<const std::uint8_t> imageBytes, PictureInfoRecord& info,
                           CaptureReport* report) {
  if (fileName && settings.fullPage()) {
    return describeWholePage(settings, *fileName, imageBytes, info, report);
  }
  const bool svgEnabled = settings.svgEnabled();
  const bool isSvgDrawing =
      svgEnabled && (!fileName || pageKindOf(*fileName) == PageKind::kSvgDrawing);
  fill(info, pictureSize(settings, isSvgDrawing, imageBytes));
  return ResultCode::kSuccess;
}

}  // namespace ondrel
