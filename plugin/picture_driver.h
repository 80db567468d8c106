#ifndef ONDREL_PLUGIN_PICTURE_DRIVER_H_
#define ONDREL_PLUGIN_PICTURE_DRIVER_H_

#include <cstdint>
#include <optional>
#include <span>

#include "platform/movable_block.h"
#include "plugin/result_code.h"
#include "plugin/settings.h"

namespace ondrel {

// Captures the page `fileName` with the configured browser and hands the
// picture to the viewer as a 24-bit bitmap in two movable blocks, in device
// pixels at the settings' scale. The image bytes are the file as the entry
// point read it; only an SVG drawing's size is taken from them. A memory
// image, without a name, is staged and shown as the page its bytes show when
// the settings take it (memoryImageName), and is not taken (kNotAccepted)
// otherwise. `report`, when given, hears why a picture failed and what the
// browser did.
ResultCode renderPicture(const SettingsSource& settings, std::optional<WideView> fileName,
                         std::span<const std::uint8_t> imageBytes,
                         platform::BlockHandle* headerHandle, platform::BlockHandle* pixelHandle,
                         CaptureReport* report = nullptr);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_PICTURE_DRIVER_H_
