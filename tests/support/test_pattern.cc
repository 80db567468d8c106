#include "tests/support/test_pattern.h"

#include <cstddef>

namespace ondrel::test {
namespace {

constexpr std::uint8_t kOpaque = 255;
constexpr std::uint8_t kSeedOfPageWithoutSeed = 0x80;

std::uint8_t diagonalOf(int x, int y) { return static_cast<std::uint8_t>(x + y); }

void appendSample(std::vector<std::uint8_t>& samples, std::uint8_t value, int bitDepth) {
  samples.push_back(value);
  // v * 257 written big-endian is the byte v twice.
  if (bitDepth == 16) samples.push_back(value);
}

void appendPatternPixel(PngImage& image, int x, int y, std::uint8_t seed) {
  const Bgra pixel = patternPixel(x, y, seed);
  switch (image.colour) {
    case PngColour::Gray8:
    case PngColour::Palette8:
      image.samples.push_back(diagonalOf(x, y));
      return;
    case PngColour::Rgb8:
    case PngColour::Rgba8:
    case PngColour::Rgb16:
    case PngColour::Rgba16: {
      const bool wide = image.colour == PngColour::Rgb16 || image.colour == PngColour::Rgba16;
      const int bitDepth = wide ? 16 : 8;
      const bool withAlpha = image.colour == PngColour::Rgba8 || image.colour == PngColour::Rgba16;
      for (std::uint8_t value : {pixel.red, pixel.green, pixel.blue}) {
        appendSample(image.samples, value, bitDepth);
      }
      if (withAlpha) appendSample(image.samples, pixel.alpha, bitDepth);
      return;
    }
  }
}

}  // namespace

Bgra patternPixel(int x, int y, std::uint8_t seed) {
  return {static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y), seed, kOpaque};
}

PngImage patternImage(int width, int height, std::uint8_t seed) {
  return patternImageAs(PngColour::Rgba8, width, height, seed);
}

PngImage patternImageAs(PngColour colour, int width, int height, std::uint8_t seed) {
  PngImage image;
  image.width = width;
  image.height = height;
  image.colour = colour;
  if (width <= 0 || height <= 0) return image;  // encodePng rejects it
  image.samples.reserve(static_cast<std::size_t>(width) * height * bytesPerPixel(colour));
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) appendPatternPixel(image, x, y, seed);
  }
  if (colour == PngColour::Palette8) {
    for (int i = 0; i < 256; ++i) {
      const auto level = static_cast<std::uint8_t>(i);
      image.palette.push_back({seed, level, level});
    }
  }
  return image;
}

Bgra expectedPixel(PngColour colour, int x, int y, std::uint8_t seed) {
  const std::uint8_t diagonal = diagonalOf(x, y);
  switch (colour) {
    case PngColour::Gray8:
      return {diagonal, diagonal, diagonal, kOpaque};
    case PngColour::Palette8:
      return {diagonal, diagonal, seed, kOpaque};
    default:
      return patternPixel(x, y, seed);
  }
}

std::uint8_t seedOfPage(std::string_view pageText) {
  constexpr std::string_view kMarker = "seed:";
  const std::size_t marker = pageText.find(kMarker);
  if (marker == std::string_view::npos) return kSeedOfPageWithoutSeed;
  std::size_t at = marker + kMarker.size();
  while (at < pageText.size() && (pageText[at] == ' ' || pageText[at] == '\t')) ++at;
  if (at == pageText.size() || pageText[at] < '0' || pageText[at] > '9') {
    return kSeedOfPageWithoutSeed;
  }
  unsigned seed = 0;
  for (; at < pageText.size() && pageText[at] >= '0' && pageText[at] <= '9'; ++at) {
    seed = (seed * 10 + static_cast<unsigned>(pageText[at] - '0')) % 256;
  }
  return static_cast<std::uint8_t>(seed);
}

unsigned pauseOfPage(std::string_view pageText) {
  constexpr std::string_view kMarker = "pause:";
  const std::size_t marker = pageText.find(kMarker);
  if (marker == std::string_view::npos) return 0;
  unsigned milliseconds = 0;
  for (std::size_t at = marker + kMarker.size();
       at < pageText.size() && pageText[at] >= '0' && pageText[at] <= '9' && milliseconds < 600000;
       ++at) {
    milliseconds = milliseconds * 10 + static_cast<unsigned>(pageText[at] - '0');
  }
  return milliseconds;
}

}  // namespace ondrel::test
