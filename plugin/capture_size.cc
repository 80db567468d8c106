#include "plugin/capture_size.h"

#include "capture/svg/svg_size_probe.h"

namespace ondrel {

PictureSize resolveCaptureSize(const SettingsSource& settings) {
  PictureSize size{settings.readInteger(setting::kWidth, setting::kWidthDefault),
                   settings.readInteger(setting::kHeight, setting::kHeightDefault)};
  const platform::ClientArea client =
      settings.activeWindowClientArea().value_or(platform::ClientArea{});
  if (size.width == 0) size.width = client.width > 0 ? client.width : setting::kWidthDefault;
  if (size.height == 0) size.height = client.height > 0 ? client.height : setting::kHeightDefault;
  return size;
}

PictureSize pictureSize(const SettingsSource& settings, bool isSvgDrawing,
                        std::span<const std::uint8_t> imageBytes) {
  const PictureSize resolved = resolveCaptureSize(settings);
  if (!isSvgDrawing) return resolved;
  // A drawing that declares no size measures 0; it is shown at the settings'
  // size rather than as an empty picture.
  const std::optional<PictureSize> drawing = probeSvgSize(imageBytes);
  if (!drawing || drawing->width <= 0 || drawing->height <= 0) return resolved;
  return *drawing;
}

PictureSize inDevicePixels(PictureSize cssSize, double deviceScale) {
  return {devicePixels(cssSize.width, deviceScale), devicePixels(cssSize.height, deviceScale)};
}

}  // namespace ondrel
