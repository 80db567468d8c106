#ifndef ONDREL_PLATFORM_POSIX_PNG_DECODER_H_
#define ONDREL_PLATFORM_POSIX_PNG_DECODER_H_

// Stand-in until the bounded decoder lands.
#include <string>

#include "platform/screenshot_bitmap.h"

namespace ondrel::platform {

inline std::unique_ptr<ScreenshotBitmap> decodePngDescriptor(int fd, int, int) {
  return decodePngFile(utf8ToWide("/proc/self/fd/" + std::to_string(fd)));
}

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_PNG_DECODER_H_
