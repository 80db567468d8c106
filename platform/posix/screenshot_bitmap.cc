#include "platform/screenshot_bitmap.h"

#include <spng.h>
#include <stdio.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>
#include <vector>

namespace ondrel::platform {
namespace {

class PixelBuffer final : public ScreenshotBitmap {
 public:
  PixelBuffer(int width, int height, std::vector<std::uint8_t> pixels)
      : width_(width), height_(height), pixels_(std::move(pixels)) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  const std::uint8_t* pixels() const override { return pixels_.data(); }

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> pixels_;
};

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};
struct DecoderFree {
  void operator()(spng_ctx* decoder) const { spng_ctx_free(decoder); }
};

// The decoder hands out red, green, blue, alpha; the bitmap wants blue first.
void swapRedAndBlue(std::vector<std::uint8_t>& pixels) {
  for (std::size_t i = 0; i + 3 < pixels.size(); i += 4) std::swap(pixels[i], pixels[i + 2]);
}

}  // namespace

std::unique_ptr<ScreenshotBitmap> decodePngFile(const WideString& path) {
  std::unique_ptr<FILE, FileCloser> file(fopen(wideToUtf8(path).c_str(), "rb"));
  if (!file) return nullptr;
  std::unique_ptr<spng_ctx, DecoderFree> decoder(spng_ctx_new(0));
  if (!decoder || spng_set_png_file(decoder.get(), file.get()) != 0) return nullptr;

  spng_ihdr header{};
  if (spng_get_ihdr(decoder.get(), &header) != 0) return nullptr;
  constexpr auto kMaxSide = std::uint32_t(std::numeric_limits<int>::max());
  if (header.width > kMaxSide || header.height > kMaxSide) return nullptr;

  std::size_t size = 0;
  if (spng_decoded_image_size(decoder.get(), SPNG_FMT_RGBA8, &size) != 0) return nullptr;
  std::vector<std::uint8_t> pixels;
  try {
    pixels.resize(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (spng_decode_image(decoder.get(), pixels.data(), size, SPNG_FMT_RGBA8, SPNG_DECODE_TRNS) !=
      0) {
    return nullptr;
  }
  swapRedAndBlue(pixels);
  return std::make_unique<PixelBuffer>(int(header.width), int(header.height), std::move(pixels));
}

bool copyAs24BitBottomUp(const ScreenshotBitmap& screenshot, const BitmapInfoHeader& header,
                         std::uint8_t* destination, std::size_t size) {
  if (header.width <= 0 || header.height == 0) return false;
  const std::size_t width = std::size_t(header.width);
  const std::size_t rows =
      std::size_t(header.height < 0 ? -std::int64_t(header.height) : std::int64_t(header.height));
  const std::size_t stride = (width * 3 + 3) & ~std::size_t(3);
  if (size < stride * rows) return false;

  std::memset(destination, 0, stride * rows);
  const std::size_t copiedWidth = std::min<std::size_t>(width, std::size_t(screenshot.width()));
  const std::size_t copiedRows = std::min<std::size_t>(rows, std::size_t(screenshot.height()));
  const std::size_t sourceStride = std::size_t(screenshot.width()) * 4;
  for (std::size_t y = 0; y < copiedRows; ++y) {
    const std::uint8_t* source = screenshot.pixels() + y * sourceStride;
    const std::size_t row = header.height > 0 ? rows - 1 - y : y;
    std::uint8_t* target = destination + row * stride;
    for (std::size_t x = 0; x < copiedWidth; ++x) {
      std::memcpy(target + x * 3, source + x * 4, 3);
    }
  }
  return true;
}

}  // namespace ondrel::platform
