// Fuzzes the reading of a memory image's kind. Viewers hand over the bytes of
// archive entries, anyone's files, before anything else looks at them, so the
// reader must stay within the bytes and in linear time whatever they hold.

#include <cstddef>
#include <cstdint>
#include <span>

#include "capture/page_kind_sniffing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  ondrel::sniffPageKind(std::span(data, size));
  return 0;
}
