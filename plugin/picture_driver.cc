#include "plugin/picture_driver.h"

#include "capture/markdown_dialect.h"
#include "capture/page_capture.h"
#include "capture/page_kinds.h"
#include "platform/process_identity.h"
#include "plugin/bitmap_handover.h"
#include "plugin/capture_size.h"
#include "plugin/pixel_layout.h"

namespace ondrel {

ResultCode renderPicture(const SettingsSource& settings, std::optional<WideView> fileName,
                         std::span<const std::uint8_t> imageBytes,
                         platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle) {
  if (!fileName) return ResultCode::kNotAccepted;

  CaptureRequest request;
  request.browserPath = settings.browserPath();
  request.pagePath = WideString(*fileName);
  request.showScrollbars = settings.scrollBarsShown();
  const bool isSvgDrawing = pageKindOf(*fileName) == PageKind::kSvgDrawing && settings.svgEnabled();
  const PictureSize size = pictureSize(settings, isSvgDrawing, imageBytes);
  request.captureWidth = size.width;
  request.captureHeight = size.height;
  request.waitSeconds = settings.waitSeconds();
  request.elevation = platform::runsFullyElevated() ? Elevation::kFull : Elevation::kNone;
  request.convertMarkdown =
      markdownConverterFor(settings.markdownDialect(), settings.markdownStylePath());

  // A picture the viewer's blocks cannot hold is refused before any browser runs.
  const std::optional<PixelLayout> layout = PixelLayout::of(size);
  if (!layout) return ResultCode::kOutOfMemory;

  const std::unique_ptr<platform::ScreenshotBitmap> screenshot = capturePage(request);
  if (!screenshot) return ResultCode::kReadOrCaptureFailed;
  return handOverBitmap(*screenshot, *layout, headerHandle, pixelHandle);
}

}  // namespace ondrel
