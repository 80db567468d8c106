#include "capture/capture_report.h"

#include <cstdint>
#include <span>

#include "platform/png_headers.h"

namespace ondrel {

std::string whyScreenshotDoesNotDecode(std::string_view start) {
  const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(start.data()),
                                            start.size());
  if (!platform::hasPngSignature(bytes)) return "screenshot is not a PNG";
  return "screenshot could not be decoded: cut short, or far larger than the window";
}

}  // namespace ondrel
