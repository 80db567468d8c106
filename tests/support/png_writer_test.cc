#include "tests/support/png_writer.h"

#include <spng.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

constexpr PngColour kAllColours[] = {PngColour::Gray8, PngColour::Rgb8,   PngColour::Rgba8,
                                     PngColour::Rgb16, PngColour::Rgba16, PngColour::Palette8};

// Sizes from a single pixel to images whose data needs several stored deflate blocks and IDAT
// chunks.
constexpr std::pair<int, int> kSizes[] = {{1, 1}, {7, 3}, {300, 260}};

std::string nameOf(PngColour colour) {
  constexpr const char* kNames[] = {"Gray8", "Rgb8", "Rgba8", "Rgb16", "Rgba16", "Palette8"};
  return kNames[static_cast<int>(colour)];
}

struct SpngContextDeleter {
  void operator()(spng_ctx* context) const { spng_ctx_free(context); }
};

struct Decoded {
  spng_ihdr header{};
  std::vector<std::uint8_t> pixels;
};

// Decodes with libspng, which checks every chunk CRC and the zlib checksum.
Decoded decode(const std::string& png, spng_format format) {
  std::unique_ptr<spng_ctx, SpngContextDeleter> context(spng_ctx_new(0));
  if (int error = spng_set_png_buffer(context.get(), png.data(), png.size())) {
    throw std::runtime_error(spng_strerror(error));
  }
  Decoded decoded;
  std::size_t size = 0;
  int error = spng_get_ihdr(context.get(), &decoded.header);
  if (!error) error = spng_decoded_image_size(context.get(), format, &size);
  if (!error) {
    decoded.pixels.resize(size);
    error = spng_decode_image(context.get(), decoded.pixels.data(), size, format, 0);
  }
  if (error) throw std::runtime_error(spng_strerror(error));
  return decoded;
}

PngImage randomImage(PngColour colour, int width, int height) {
  std::mt19937 random(static_cast<unsigned>(width * 131 + height));
  PngImage image{width, height, colour, {}, {}};
  image.samples.resize(static_cast<std::size_t>(width) * height * bytesPerPixel(colour));
  if (colour == PngColour::Palette8) {
    image.palette.resize(256);
    for (auto& entry : image.palette) {
      for (auto& level : entry) level = static_cast<std::uint8_t>(random());
    }
  }
  for (auto& sample : image.samples) sample = static_cast<std::uint8_t>(random());
  return image;
}

// Interlaced too: the 7x3 and 1x1 images leave some of the seven passes empty.
TEST(PngWriter, SamplesSurviveADecoderInEveryColourType) {
  for (PngColour colour : kAllColours) {
    for (auto [width, height] : kSizes) {
      for (bool interlaced : {false, true}) {
        SCOPED_TRACE(nameOf(colour) + " " + std::to_string(width) + "x" + std::to_string(height) +
                     (interlaced ? " interlaced" : ""));
        PngImage image = randomImage(colour, width, height);
        image.interlaced = interlaced;
        const Decoded decoded = decode(encodePng(image), SPNG_FMT_RAW);
        EXPECT_EQ(decoded.header.width, static_cast<std::uint32_t>(width));
        EXPECT_EQ(decoded.header.height, static_cast<std::uint32_t>(height));
        EXPECT_EQ(decoded.header.interlace_method, interlaced ? 1 : 0);
        EXPECT_EQ(decoded.pixels, image.samples);
      }
    }
  }
}

TEST(PngWriter, PaletteEntriesReachTheDecoder) {
  PngImage image = randomImage(PngColour::Palette8, 5, 4);
  image.palette.resize(3);
  for (auto& sample : image.samples) sample %= 3;
  const Decoded decoded = decode(encodePng(image), SPNG_FMT_RGB8);
  for (std::size_t i = 0; i < image.samples.size(); ++i) {
    const auto& entry = image.palette[image.samples[i]];
    EXPECT_EQ(std::vector(decoded.pixels.begin() + 3 * i, decoded.pixels.begin() + 3 * i + 3),
              std::vector(entry.begin(), entry.end()));
  }
}

TEST(PngWriter, RefusesImagesItCannotDescribe) {
  PngImage noPalette = randomImage(PngColour::Palette8, 2, 2);
  noPalette.palette.clear();
  PngImage hugePalette = randomImage(PngColour::Palette8, 2, 2);
  hugePalette.palette.resize(257);
  PngImage shortSamples = randomImage(PngColour::Rgb16, 2, 2);
  shortSamples.samples.pop_back();
  const PngImage cases[] = {noPalette,
                            hugePalette,
                            shortSamples,
                            {0, 1, PngColour::Gray8, {}, {}},
                            {1, -1, PngColour::Gray8, {0}, {}}};
  for (const PngImage& image : cases) EXPECT_THROW(encodePng(image), std::invalid_argument);
}

TEST(PngWriter, WritesTheEncodedFile) {
  const auto path = std::filesystem::temp_directory_path() / "ondrel-png-writer-test.png";
  const PngImage image = patternImage(3, 2, 9);
  ASSERT_TRUE(writePng(path, image));
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  EXPECT_EQ(bytes.str(), encodePng(image));
  std::filesystem::remove(path);
  EXPECT_FALSE(writePng(path / "no-such-folder" / "x.png", image));
}

// Decoded to 16 bits per channel, where every 8-bit value v reads as v * 257, so a 16-bit
// pattern must carry v in both bytes of every sample.
TEST(TestPattern, DecodesToTheExpectedPixelsInEveryColourType) {
  constexpr std::uint8_t kSeed = 201;
  for (PngColour colour : kAllColours) {
    for (auto [width, height] : kSizes) {
      SCOPED_TRACE(nameOf(colour) + " " + std::to_string(width) + "x" + std::to_string(height));
      const Decoded decoded =
          decode(encodePng(patternImageAs(colour, width, height, kSeed)), SPNG_FMT_RGBA16);
      ASSERT_EQ(decoded.pixels.size(), static_cast<std::size_t>(width) * height * 8);
      int mismatches = 0;
      for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
          std::uint16_t rgba[4];
          std::memcpy(rgba, &decoded.pixels[(static_cast<std::size_t>(y) * width + x) * 8], 8);
          const Bgra wanted = expectedPixel(colour, x, y, kSeed);
          const bool same = rgba[0] == wanted.red * 257 && rgba[1] == wanted.green * 257 &&
                            rgba[2] == wanted.blue * 257 && rgba[3] == wanted.alpha * 257;
          if (!same && ++mismatches <= 3) ADD_FAILURE() << "pixel " << x << "," << y;
        }
      }
      EXPECT_EQ(mismatches, 0);
    }
  }
}

TEST(TestPattern, ShowsPositionAndSeed) {
  EXPECT_EQ(patternPixel(300, 2, 17), (Bgra{44, 2, 17, 255}));
  EXPECT_EQ(expectedPixel(PngColour::Rgba16, 5, 260, 17), (Bgra{5, 4, 17, 255}));
  EXPECT_EQ(expectedPixel(PngColour::Gray8, 200, 100, 17), (Bgra{44, 44, 44, 255}));
  EXPECT_EQ(expectedPixel(PngColour::Palette8, 200, 100, 17), (Bgra{44, 44, 17, 255}));
}

}  // namespace
}  // namespace ondrel::test
