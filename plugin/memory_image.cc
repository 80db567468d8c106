#include "plugin/memory_image.h"

#include <string>

#include "capture/page_kind_sniffing.h"
#include "plugin/file_image.h"

namespace ondrel {

std::optional<WideString> memoryImageName(const SettingsSource& settings,
                                          std::span<const std::uint8_t> bytes,
                                          CaptureReport* report) {
  if (!settings.memoryImagesTaken()) {
    reportFailure(report,
                  "a memory image names no file the browser could open (memoryImages is off)");
    return std::nullopt;
  }
  if (bytes.size() < std::size_t(kMinimumImageSize) || bytes.size() > kLargestMemoryImage) {
    reportFailure(report, "a memory image of ", std::to_string(bytes.size()),
                  " bytes is too short or too large to take");
    return std::nullopt;
  }
  const std::optional<PageKind> kind = sniffPageKind(bytes);
  if (!kind) {
    reportFailure(report, "the memory image shows no HTML, Markdown or SVG");
    return std::nullopt;
  }
  if (followsSvgSetting(*kind) && !settings.svgEnabled()) {
    reportFailure(report, "the memory image is an SVG drawing, and SVG drawings are off");
    return std::nullopt;
  }
  return WideString(u"memory-image") + WideString(extensionOf(*kind));
}

}  // namespace ondrel
