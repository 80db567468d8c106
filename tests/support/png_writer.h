// A minimal PNG encoder for tests: every colour type a browser screenshot or a test may need,
// written without compression so the bytes depend on nothing but the image.

#ifndef ONDREL_TESTS_SUPPORT_PNG_WRITER_H_
#define ONDREL_TESTS_SUPPORT_PNG_WRITER_H_

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ondrel::test {

enum class PngColour { Gray8, Rgb8, Rgba8, Rgb16, Rgba16, Palette8 };

struct PngImage {
  int width = 0, height = 0;
  PngColour colour = PngColour::Rgba8;
  std::vector<std::uint8_t> samples;  // rows top-down, no filter bytes, 16-bit samples big-endian
  std::vector<std::array<std::uint8_t, 3>> palette;  // Palette8 only
  bool interlaced = false;  // Adam7: seven passes over ever finer grids of the same pixels
  // Written as they are between the palette and the image data: type, then data.
  std::vector<std::pair<std::string, std::string>> extraChunks{};
};

// Bytes per pixel in `samples` for a colour type.
int bytesPerPixel(PngColour colour);

// The file's bytes. Throws std::invalid_argument when the sizes, the samples or the palette do not
// describe a valid image, so a mistake in a test's setup cannot pass as a broken screenshot.
std::string encodePng(const PngImage& image);

// Writes encodePng(image) to `path`, replacing the file; false when it cannot be written.
bool writePng(const std::filesystem::path& path, const PngImage& image);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_PNG_WRITER_H_
