#include "plugin/memory_image.h"

#include "capture/page_kind_sniffing.h"
#include "plugin/file_image.h"

namespace ondrel {

std::optional<WideString> memoryImageName(const SettingsSource& settings,
                                          std::span<const std::uint8_t> bytes) {
  if (!settings.memoryImagesTaken()) return std::nullopt;
  if (bytes.size() < std::size_t(kMinimumImageSize) || bytes.size() > kLargestMemoryImage) {
    return std::nullopt;
  }
  const std::optional<PageKind> kind = sniffPageKind(bytes);
  if (!kind || (followsSvgSetting(*kind) && !settings.svgEnabled())) return std::nullopt;
  return WideString(u"memory-image") + WideString(extensionOf(*kind));
}

}  // namespace ondrel
