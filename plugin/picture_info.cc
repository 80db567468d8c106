#include "plugin/picture_info.h"

#include "capture/page_kinds.h"
#include "plugin/capture_size.h"

namespace ondrel {

void describePicture(const SettingsSource& settings, std::optional<WideView> fileName,
                     std::span<const std::uint8_t> imageBytes, PictureInfoRecord& info) {
  const bool svgEnabled = settings.svgEnabled();
  const bool isSvgDrawing =
      svgEnabled && (!fileName || pageKindOf(*fileName) == PageKind::kSvgDrawing);
  const PictureSize size = pictureSize(settings, isSvgDrawing, imageBytes);
  info.left = 0;
  info.top = 0;
  info.pixelWidth = size.width;
  info.pixelHeight = size.height;
  info.densityX = 0;
  info.densityY = 0;
  info.bitsPerPixel = 24;
  info.textHandle = nullptr;
}

}  // namespace ondrel
