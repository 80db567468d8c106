#ifndef ONDREL_PLATFORM_POSIX_PNG_DECODER_H_
#define ONDREL_PLATFORM_POSIX_PNG_DECODER_H_

#include <cstddef>
#include <memory>

#include "platform/posix/memory_budget.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel::platform {

// Decodes the PNG that an open descriptor reads from its current position,
// keeping at most the top-left `maxWidth` x `maxHeight` pixels, as
// decodePngFile does. The descriptor is borrowed: it stays open, its position
// somewhere after what was read. Nothing when a limit is 0 or less, when the
// PNG does not decode as far as the last kept row, or when it declares itself
// too large for the capture (platform/screenshot_limit.h).
std::unique_ptr<ScreenshotBitmap> decodePngDescriptor(int fd, int maxWidth, int maxHeight);

// The same, drawing every block the decode allocates, libspng's included,
// from `budget`: past it the decode gives nothing. Tests measure with it.
std::unique_ptr<ScreenshotBitmap> decodePngDescriptor(int fd, int maxWidth, int maxHeight,
                                                      MemoryBudget& budget);

// The budget decodePngDescriptor gives one decode for a capture of
// `maxWidth` x `maxHeight`: the kept pixels, working rows as wide as the
// widest screenshot accepted, and a fixed allowance for libspng's context,
// zlib and the ancillary chunks libspng keeps.
std::size_t pngDecodeBudget(int maxWidth, int maxHeight);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_PNG_DECODER_H_
