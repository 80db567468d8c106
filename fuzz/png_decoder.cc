// Fuzzes the screenshot decoder with arbitrary files. The browser writes the
// screenshot, but anything may stand in its place, so a file of any content
// must decode within the capture's size and memory budget or give nothing.
//
// The input's first four bytes choose the capture's width and height (1 to
// 1024 each, so that small captures of large files are fuzzed too); the rest
// is the file. The decoder reads it from a memory file, as it reads the
// screenshot's descriptor in a capture.

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string_view>

#include "platform/posix/descriptor.h"
#include "platform/posix/png_decoder.h"

namespace {

int captureSide(const std::uint8_t* bytes) { return 1 + ((bytes[0] << 8 | bytes[1]) % 1024); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 4) return 0;
  const int width = captureSide(data);
  const int height = captureSide(data + 2);
  ondrel::platform::Descriptor file(memfd_create("screenshot", 0));
  const std::string_view png(reinterpret_cast<const char*>(data + 4), size - 4);
  if (!file.valid() || !ondrel::platform::writeAll(file.get(), png)) return 0;
  if (lseek(file.get(), 0, SEEK_SET) != 0) return 0;

  const std::unique_ptr<ondrel::platform::ScreenshotBitmap> bitmap =
      ondrel::platform::decodePngDescriptor(file.get(), width, height);
  if (bitmap && (bitmap->width() > width || bitmap->height() > height || bitmap->width() <= 0 ||
                 bitmap->height() <= 0)) {
    std::abort();  // a bitmap larger than the capture is the fault this target looks for
  }
  return 0;
}
