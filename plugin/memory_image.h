#ifndef ONDREL_PLUGIN_MEMORY_IMAGE_H_
#define ONDREL_PLUGIN_MEMORY_IMAGE_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "plugin/settings.h"

namespace ondrel {

// The largest image taken from memory: it is copied into a staged file, and
// a Markdown document is converted whole besides.
inline constexpr std::size_t kLargestMemoryImage = std::size_t(64) << 20;

// The name a memory image is shown under: "memory-image" with the extension
// of the kind its bytes show (capture/page_kind_sniffing.h). It names no
// file; the kind is all it tells. Nothing when the settings take no memory
// images, or not this one: shorter than a picture needs, larger than
// kLargestMemoryImage, of no page kind, or a drawing while SVG drawings are
// off; `report`, when given, hears which.
std::optional<WideString> memoryImageName(const SettingsSource& settings,
                                          std::span<const std::uint8_t> bytes,
                                          CaptureReport* report = nullptr);

}  // namespace ondrel

#endif  // ONDREL_PLUGIN_MEMORY_IMAGE_H_
