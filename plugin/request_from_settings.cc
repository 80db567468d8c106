#include "plugin/request_from_settings.h"

#include <algorithm>

#include "capture/page_kinds.h"
#include "capture/staging/markdown_dialect.h"
#include "platform/process_identity.h"
#include "plugin/capture_size.h"
#include "plugin/pixel_layout.h"

namespace ondrel {

std::optional<CaptureRequest> captureRequestFor(const SettingsSource& settings, WideView pageName,
                                                std::span<const std::uint8_t> imageBytes,
                                                PageOrigin origin) {
  CaptureRequest request;
  request.engine = settings.captureEngine();
  request.browserPath = settings.browserPath();
  request.pagePath = WideString(pageName);
  if (origin == PageOrigin::kMemory) request.memoryImage = imageBytes;
  request.showScrollbars = settings.scrollBarsShown();
  const bool isSvgDrawing = pageKindOf(pageName) == PageKind::kSvgDrawing && settings.svgEnabled();
  const PictureSize size = pictureSize(settings, isSvgDrawing, imageBytes);
  request.captureWidth = size.width;
  request.captureHeight = size.height;
  request.deviceScale = settings.deviceScale();
  request.waitSeconds = settings.waitSeconds();
  request.elevation = platform::runsFullyElevated() ? Elevation::kFull : Elevation::kNone;
  const WideString dialect = settings.markdownDialect();
  const bool drawing = settings.markdownDrawn();
  request.convertMarkdown = markdownConverterFor(dialect, settings.markdownStylePath(), drawing);
  request.markdownCodePage = settings.markdownCodePage();
  DevToolsOptions& devTools = request.devTools;
  devTools.keepBrowserSeconds = settings.keepBrowserSeconds();
  devTools.parallelPictures = settings.parallelPictures();
  devTools.blockNetwork = settings.networkBlocked();
  devTools.fullPage = settings.fullPage();
  devTools.awaitDrawing =
      drawsMarkdown(dialect, drawing) && pageKindOf(pageName) == PageKind::kMarkdown;
  if (devTools.fullPage) {
    const std::optional<std::int32_t> tallest = PixelLayout::tallestFor(request.pictureWidth());
    if (!tallest) return std::nullopt;
    devTools.tallestPage = std::min(*tallest, kTallestFullPage);
  }
  return request;
}

}  // namespace ondrel
