#include "platform/png_encoder.h"

#include <spng.h>

#include <cstdlib>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <vector>

#include "platform/files.h"

namespace ondrel::platform {
namespace {

struct EncoderFree {
  void operator()(spng_ctx* encoder) const { spng_ctx_free(encoder); }
};

// The encoder takes red, green, blue rows from the top.
std::vector<std::uint8_t> rgbTopDown(int width, int height, const std::uint8_t* bgrBottomUpRows,
                                     std::size_t stride) {
  const std::size_t rowBytes = std::size_t(width) * 3;
  std::vector<std::uint8_t> rgb(rowBytes * std::size_t(height));
  for (std::size_t y = 0; y < std::size_t(height); ++y) {
    const std::uint8_t* source = bgrBottomUpRows + (std::size_t(height) - 1 - y) * stride;
    std::uint8_t* target = rgb.data() + y * rowBytes;
    for (std::size_t x = 0; x < rowBytes; x += 3) {
      target[x] = source[x + 2];
      target[x + 1] = source[x + 1];
      target[x + 2] = source[x];
    }
  }
  return rgb;
}

// The whole PNG stream in memory, or nothing.
std::optional<std::string> encodeRgb(int width, int height, const std::vector<std::uint8_t>& rgb) {
  std::unique_ptr<spng_ctx, EncoderFree> encoder(spng_ctx_new(SPNG_CTX_ENCODER));
  // Pictures of pages are large and mostly flat: the fastest deflate level
  // with one cheap filter writes a whole page's picture in a fraction of the
  // default's time, in a file of about the same size.
  if (!encoder || spng_set_option(encoder.get(), SPNG_ENCODE_TO_BUFFER, 1) != 0 ||
      spng_set_option(encoder.get(), SPNG_IMG_COMPRESSION_LEVEL, 1) != 0 ||
      spng_set_option(encoder.get(), SPNG_FILTER_CHOICE, SPNG_FILTER_CHOICE_SUB) != 0) {
    return std::nullopt;
  }
  spng_ihdr header{};
  header.width = std::uint32_t(width);
  header.height = std::uint32_t(height);
  header.bit_depth = 8;
  header.color_type = SPNG_COLOR_TYPE_TRUECOLOR;
  if (spng_set_ihdr(encoder.get(), &header) != 0 ||
      spng_encode_image(encoder.get(), rgb.data(), rgb.size(), SPNG_FMT_PNG,
                        SPNG_ENCODE_FINALIZE) != 0) {
    return std::nullopt;
  }
  size_t length = 0;
  int error = 0;
  std::unique_ptr<void, decltype(&std::free)> stream(
      spng_get_png_buffer(encoder.get(), &length, &error), &std::free);
  if (!stream || error != 0) return std::nullopt;
  return std::string(static_cast<const char*>(stream.get()), length);
}

}  // namespace

bool writePngFile(const WideString& path, int width, int height,
                  const std::uint8_t* bgrBottomUpRows, std::size_t stride) {
  if (width <= 0 || height <= 0 || stride < std::size_t(width) * 3) return false;
  std::optional<std::string> stream;
  try {
    stream = encodeRgb(width, height, rgbTopDown(width, height, bgrBottomUpRows, stride));
  } catch (const std::bad_alloc&) {
    return false;
  }
  return stream && writeFileBytes(path, *stream);
}

}  // namespace ondrel::platform
