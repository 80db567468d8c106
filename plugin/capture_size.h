#ifndef ONDREL_PLUGIN_CAPTURE_SIZE_H_
#define ONDREL_PLUGIN_CAPTURE_SIZE_H_

#include <optional>
#include <span>

#include "capture/svg/picture_size.h"
#include "plugin/settings.h"

namespace ondrel {

// The capture size from `width` and `height`; a 0 takes the active window's
// client width or height when that is above 0, else 640 or 480. Any other
// value, negative ones included, stays as read.
PictureSize resolveCaptureSize(const SettingsSource& settings);

// The size of the picture: the drawing's own size for an SVG drawing that
// declares a usable one, the resolved capture size otherwise.
PictureSize pictureSize(const SettingsSource& settings, bool isSvgDrawing,
                        std::span<const std::uint8_t> imageBytes);

// The picture of a capture of `cssSize` in device pixels at `deviceScale`
// (devicePixels in capture/capture_request.h).
PictureSize inDevicePixels(PictureSize cssSize, double deviceScale);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_CAPTURE_SIZE_H_
