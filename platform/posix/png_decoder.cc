#include "platform/posix/png_decoder.h"

#include <errno.h>
#include <spng.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <new>

#include "platform/png_headers.h"
#include "platform/posix/kept_pixels.h"
#include "platform/posix/spng_budget_scope.h"
#include "platform/screenshot_limit.h"

namespace ondrel::platform {
namespace {

// libspng reserves and reads whole each ancillary chunk it keeps (text, an
// ICC profile, Exif), inflating a compressed one, before the image data. A
// browser's screenshot carries at most a colour profile and a line of text in
// them; a file that needs more than one chunk's limit, or all of them
// together more than this, is refused instead of given what a length claims.
constexpr std::size_t kAllChunks = std::size_t(4) << 20;
// libspng's context and read buffer, zlib's inflate state and its 32 KiB
// window, with room to spare.
constexpr std::size_t kWorkingAllowance = std::size_t(256) << 10;
// Bytes for each pixel of the widest accepted row: the decoder's output row
// (4), libspng's current and previous scanline (up to 8 each for 16-bit RGBA)
// and its row for spreading an interlaced pass (4); then per-row extras.
constexpr std::size_t kRowBytesPerPixel = 4 + 8 + 8 + 4;
constexpr std::size_t kRowExtras = 256;
constexpr std::size_t kBytesPerPixel = 4;

// Adam7: the column and row of each pass's first pixel.
constexpr std::uint32_t kPassFirstColumn[7] = {0, 4, 0, 2, 0, 1, 0};
constexpr std::uint32_t kPassFirstRow[7] = {0, 0, 4, 0, 2, 0, 1};

struct SpngContextFree {
  void operator()(spng_ctx* decoder) const { spng_ctx_free(decoder); }
};
using SpngContext = std::unique_ptr<spng_ctx, SpngContextFree>;

std::size_t saturatingProduct(std::size_t a, std::size_t b) {
  return b != 0 && a > std::numeric_limits<std::size_t>::max() / b
             ? std::numeric_limits<std::size_t>::max()
             : a * b;
}

std::size_t saturatingSum(std::size_t a, std::size_t b) {
  return a > std::numeric_limits<std::size_t>::max() - b ? std::numeric_limits<std::size_t>::max()
                                                         : a + b;
}

// Fills exactly `length` bytes, as libspng expects of a stream.
int readDescriptor(spng_ctx*, void* user, void* destination, std::size_t length) {
  const int fd = *static_cast<const int*>(user);
  auto* at = static_cast<std::uint8_t*>(destination);
  while (length > 0) {
    const ssize_t got = ::read(fd, at, length);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return SPNG_IO_ERROR;
    if (got == 0) return SPNG_IO_EOF;
    at += got;
    length -= std::size_t(got);
  }
  return 0;
}

// A decoder with every limit set, reading from what `attachInput` gives it.
template <typename AttachInput>
SpngContext openDecoder(AttachInput attachInput, int maxWidth, int maxHeight) {
  spng_alloc allocator = SpngBudgetScope::allocator();
  SpngContext decoder(spng_ctx_new2(&allocator, 0));
  if (!decoder || attachInput(decoder.get()) != 0 ||
      spng_set_image_limits(decoder.get(), largestScreenshotSide(maxWidth),
                            largestScreenshotSide(maxHeight)) != 0 ||
      spng_set_chunk_limits(decoder.get(), kLargestAncillaryChunk, kAllChunks) != 0) {
    return nullptr;
  }
  return decoder;
}

// The last pass that holds a pixel of a kept row: once it has gone past the
// kept rows, every kept pixel is in.
int lastPassReaching(const spng_ihdr& header, std::uint32_t keptHeight) {
  if (header.interlace_method == SPNG_INTERLACE_NONE) return 0;
  int last = 0;
  for (int pass = 0; pass < 7; ++pass) {
    if (kPassFirstColumn[pass] < header.width && kPassFirstRow[pass] < keptHeight) last = pass;
  }
  return last;
}

// Decodes rows in file order, top to bottom, or pass by pass for an
// interlaced image, until every kept row is complete. libspng spreads an
// interlaced pass's pixels over the row it is given and leaves the others as
// they were, so that row is first loaded with what the kept row holds so far.
bool decodeKeptRows(spng_ctx* decoder, const spng_ihdr& header, KeptPixels& kept,
                    std::uint32_t keptHeight, std::uint8_t* row) {
  const int lastPass = lastPassReaching(header, keptHeight);
  const bool interlaced = header.interlace_method != SPNG_INTERLACE_NONE;
  const std::size_t rowBytes = std::size_t(header.width) * kBytesPerPixel;
  for (;;) {
    spng_row_info next{};
    const int status = spng_get_row_info(decoder, &next);
    if (status == SPNG_EOI) return true;
    if (status != 0) return false;
    if (next.row_num >= keptHeight && next.pass >= lastPass) return true;

    std::uint8_t* keptRow = nullptr;
    if (next.row_num < keptHeight) {
      keptRow = kept.row(next.row_num);
      if (keptRow == nullptr) return false;
      if (interlaced) std::memcpy(row, keptRow, kept.rowBytes());
    }
    const int decoded = spng_decode_row(decoder, row, rowBytes);
    if (decoded != 0 && decoded != SPNG_EOI) return false;
    if (keptRow != nullptr) std::memcpy(keptRow, row, kept.rowBytes());
  }
}

// libspng hands out red, green, blue, alpha; the bitmap wants blue first.
void swapRedAndBlue(KeptPixels& kept, std::uint32_t height) {
  for (std::uint32_t y = 0; y < height; ++y) {
    std::uint8_t* pixel = kept.row(y);
    for (std::size_t i = 0; i < kept.rowBytes(); i += kBytesPerPixel) {
      std::swap(pixel[i], pixel[i + 2]);
    }
  }
}

}  // namespace

std::size_t pngDecodeBudget(int maxWidth, int maxHeight) {
  if (maxWidth <= 0 || maxHeight <= 0) return 0;
  const std::size_t keptPixels = saturatingProduct(
      saturatingProduct(std::size_t(maxWidth), std::size_t(maxHeight)), kBytesPerPixel);
  const std::size_t rows = saturatingSum(
      saturatingProduct(largestScreenshotSide(maxWidth), kRowBytesPerPixel), kRowExtras);
  return saturatingSum(saturatingSum(keptPixels, rows), kAllChunks + kWorkingAllowance);
}

std::unique_ptr<ScreenshotBitmap> decodePngDescriptor(int fd, int maxWidth, int maxHeight) {
  MemoryBudget budget(pngDecodeBudget(maxWidth, maxHeight));
  return decodePngDescriptor(fd, maxWidth, maxHeight, budget);
}

namespace {

// Decodes the kept part of the PNG that `attachInput` hands the decoder.
template <typename AttachInput>
std::unique_ptr<ScreenshotBitmap> decodeKept(AttachInput attachInput, int maxWidth, int maxHeight,
                                             MemoryBudget& budget) {
  if (maxWidth <= 0 || maxHeight <= 0) return nullptr;
  // Declared before the decoder, so the decoder is freed while the scope lives.
  SpngBudgetScope scope(budget);
  SpngContext decoder = openDecoder(attachInput, maxWidth, maxHeight);
  spng_ihdr header{};
  if (!decoder || spng_get_ihdr(decoder.get(), &header) != 0) return nullptr;

  const std::uint32_t keptWidth = std::min(header.width, std::uint32_t(maxWidth));
  const std::uint32_t keptHeight = std::min(header.height, std::uint32_t(maxHeight));
  KeptPixels kept(keptWidth, keptHeight, budget);
  // The working row is charged for the whole decode: the budget lasts no longer.
  const std::size_t rowBytes = std::size_t(header.width) * kBytesPerPixel;
  if (!budget.take(rowBytes)) return nullptr;
  const std::unique_ptr<std::uint8_t[]> row(new (std::nothrow) std::uint8_t[rowBytes]);
  if (!row) return nullptr;

  if (spng_decode_image(decoder.get(), nullptr, 0, SPNG_FMT_RGBA8,
                        SPNG_DECODE_TRNS | SPNG_DECODE_PROGRESSIVE) != 0 ||
      !decodeKeptRows(decoder.get(), header, kept, keptHeight, row.get())) {
    return nullptr;
  }
  swapRedAndBlue(kept, keptHeight);
  return kept.toBitmap();
}

}  // namespace

std::unique_ptr<ScreenshotBitmap> decodePngDescriptor(int fd, int maxWidth, int maxHeight,
                                                      MemoryBudget& budget) {
  return decodeKept(
      [&fd](spng_ctx* decoder) { return spng_set_png_stream(decoder, readDescriptor, &fd); },
      maxWidth, maxHeight, budget);
}

std::unique_ptr<ScreenshotBitmap> decodePngBytes(std::span<const std::uint8_t> png, int maxWidth,
                                                 int maxHeight) {
  MemoryBudget budget(pngDecodeBudget(maxWidth, maxHeight));
  return decodeKept(
      [png](spng_ctx* decoder) { return spng_set_png_buffer(decoder, png.data(), png.size()); },
      maxWidth, maxHeight, budget);
}

}  // namespace ondrel::platform
