// Fuzzes the SVG size probe with arbitrary file contents. The probe reads
// untrusted drawings before anything else looks at them, so it must neither
// read outside the bytes nor misbehave on any value it measures.

#include <cstddef>
#include <cstdint>
#include <span>

#include "capture/svg/svg_size_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ondrel::probeSvgSize(std::span(data, size));
  return 0;
}
