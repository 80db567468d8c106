#ifndef ONDREL_PLUGIN_REQUEST_FROM_SETTINGS_H_
#define ONDREL_PLUGIN_REQUEST_FROM_SETTINGS_H_

#include <cstdint>
#include <optional>
#include <span>

#include "capture/capture_request.h"
#include "plugin/settings.h"

namespace ondrel {

// The tallest whole-page picture, whatever the page.
inline constexpr std::int32_t kTallestFullPage = 16384;

// Where a page's bytes come from: the file its name names, or the viewer's
// memory, the name then being the one memoryImageName gave them.
enum class PageOrigin { kFile, kMemory };

// The capture the settings ask for the page `pageName`, whose bytes are
// `imageBytes`: the engine, the browser and its switches, the size (an SVG
// drawing's own when it declares one) and its scale, the limit. For a whole
// page, the tallest picture the viewer's blocks can hold at that width;
// nothing when even one row is too wide for them.
std::optional<CaptureRequest> captureRequestFor(const SettingsSource& settings, WideView pageName,
                                                std::span<const std::uint8_t> imageBytes,
                                                PageOrigin origin);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_REQUEST_FROM_SETTINGS_H_
