#include "tests/support/png_writer.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace ondrel::test {
namespace {

constexpr std::string_view kSignature{"\x89PNG\r\n\x1a\n", 8};
// Stored deflate blocks carry at most this many bytes each.
constexpr std::size_t kMaxStoredBlock = 65535;
// Real encoders split the data stream over several IDAT chunks; doing the same keeps decoders
// honest about joining them.
constexpr std::size_t kMaxIdatChunk = 1 << 16;

constexpr std::array<std::uint32_t, 256> makeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xedb88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = makeCrcTable();

std::uint32_t crc32(std::string_view bytes) {
  std::uint32_t crc = 0xffffffffu;
  for (unsigned char byte : bytes) crc = kCrcTable[(crc ^ byte) & 0xff] ^ (crc >> 8);
  return crc ^ 0xffffffffu;
}

std::uint32_t adler32(std::string_view bytes) {
  constexpr std::uint32_t kModulus = 65521;
  std::uint32_t a = 1, b = 0;
  for (unsigned char byte : bytes) {
    a = (a + byte) % kModulus;
    b = (b + a) % kModulus;
  }
  return (b << 16) | a;
}

void appendBigEndian32(std::string& out, std::uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void appendChunk(std::string& png, std::string_view type, std::string_view data) {
  appendBigEndian32(png, static_cast<std::uint32_t>(data.size()));
  const std::size_t typeAndData = png.size();
  png.append(type);
  png.append(data);
  appendBigEndian32(png, crc32(std::string_view(png).substr(typeAndData)));
}

int bitDepthOf(PngColour colour) {
  return colour == PngColour::Rgb16 || colour == PngColour::Rgba16 ? 16 : 8;
}

int colourTypeCodeOf(PngColour colour) {
  switch (colour) {
    case PngColour::Gray8:
      return 0;
    case PngColour::Rgb8:
    case PngColour::Rgb16:
      return 2;
    case PngColour::Palette8:
      return 3;
    case PngColour::Rgba8:
    case PngColour::Rgba16:
      return 6;
  }
  throw std::invalid_argument("unknown PNG colour type");
}

std::size_t rowBytesOf(const PngImage& image) {
  return static_cast<std::size_t>(image.width) * bytesPerPixel(image.colour);
}

void checkImage(const PngImage& image) {
  if (image.width <= 0 || image.height <= 0)
    throw std::invalid_argument("PNG size must be positive");
  const std::size_t rowBytes = rowBytesOf(image);
  if (rowBytes + 1 > std::numeric_limits<std::size_t>::max() / image.height) {
    throw std::invalid_argument("PNG too large");
  }
  if (image.samples.size() != rowBytes * image.height) {
    throw std::invalid_argument("PNG samples do not match its size and colour type");
  }
  if (image.colour == PngColour::Palette8 &&
      (image.palette.empty() || image.palette.size() > 256)) {
    throw std::invalid_argument("PNG palette must hold 1 to 256 entries");
  }
}

std::string headerOf(const PngImage& image) {
  std::string header;
  appendBigEndian32(header, static_cast<std::uint32_t>(image.width));
  appendBigEndian32(header, static_cast<std::uint32_t>(image.height));
  header.push_back(static_cast<char>(bitDepthOf(image.colour)));
  header.push_back(static_cast<char>(colourTypeCodeOf(image.colour)));
  header.append(2, '\0');  // deflate, adaptive filtering
  header.push_back(image.interlaced ? '\1' : '\0');
  return header;
}

std::string paletteOf(const PngImage& image) {
  std::string palette;
  for (const auto& entry : image.palette) palette.append(entry.begin(), entry.end());
  return palette;
}

// The pixels one pass takes: every `step`th column from `column` and every `rowStep`th row from
// `row`. A whole image is one such pass.
struct Pass {
  int column, row, step, rowStep;
};

constexpr Pass kWholeImage = {0, 0, 1, 1};
constexpr std::array<Pass, 7> kAdam7 = {{{0, 0, 8, 8},
                                         {4, 0, 8, 8},
                                         {0, 4, 4, 8},
                                         {2, 0, 4, 4},
                                         {0, 2, 2, 4},
                                         {1, 0, 2, 2},
                                         {0, 1, 1, 2}}};

// The pass's rows, each behind the filter type byte 0 (None); nothing for a pass without pixels.
void appendPassScanlines(const PngImage& image, const Pass& pass, std::string& scanlines) {
  if (pass.column >= image.width) return;
  const std::size_t pixelBytes = static_cast<std::size_t>(bytesPerPixel(image.colour));
  for (int y = pass.row; y < image.height; y += pass.rowStep) {
    scanlines.push_back('\0');
    for (int x = pass.column; x < image.width; x += pass.step) {
      const std::size_t at = (static_cast<std::size_t>(y) * image.width + x) * pixelBytes;
      scanlines.append(image.samples.begin() + static_cast<std::ptrdiff_t>(at),
                       image.samples.begin() + static_cast<std::ptrdiff_t>(at + pixelBytes));
    }
  }
}

std::string scanlinesOf(const PngImage& image) {
  std::string scanlines;
  scanlines.reserve((rowBytesOf(image) + 1) * image.height);
  if (!image.interlaced) {
    appendPassScanlines(image, kWholeImage, scanlines);
    return scanlines;
  }
  for (const Pass& pass : kAdam7) appendPassScanlines(image, pass, scanlines);
  return scanlines;
}

// A zlib stream of stored (uncompressed) deflate blocks.
std::string zlibStored(std::string_view data) {
  std::string stream = {'\x78', '\x01'};  // 32K window, no dictionary, check bits
  std::size_t offset = 0;
  do {
    const std::size_t length = std::min(kMaxStoredBlock, data.size() - offset);
    const bool final = offset + length == data.size();
    stream.push_back(final ? '\x01' : '\x00');
    const auto len = static_cast<std::uint16_t>(length);
    const auto nlen = static_cast<std::uint16_t>(~len);
    for (std::uint16_t field : {len, nlen}) {
      stream.push_back(static_cast<char>(field & 0xff));
      stream.push_back(static_cast<char>(field >> 8));
    }
    stream.append(data.substr(offset, length));
    offset += length;
  } while (offset < data.size());
  appendBigEndian32(stream, adler32(data));
  return stream;
}

}  // namespace

int bytesPerPixel(PngColour colour) {
  switch (colour) {
    case PngColour::Gray8:
    case PngColour::Palette8:
      return 1;
    case PngColour::Rgb8:
      return 3;
    case PngColour::Rgba8:
      return 4;
    case PngColour::Rgb16:
      return 6;
    case PngColour::Rgba16:
      return 8;
  }
  throw std::invalid_argument("unknown PNG colour type");
}

std::string encodePng(const PngImage& image) {
  checkImage(image);
  std::string png(kSignature);
  appendChunk(png, "IHDR", headerOf(image));
  if (image.colour == PngColour::Palette8) appendChunk(png, "PLTE", paletteOf(image));
  for (const auto& [type, data] : image.extraChunks) appendChunk(png, type, data);
  const std::string stream = zlibStored(scanlinesOf(image));
  for (std::size_t offset = 0; offset < stream.size(); offset += kMaxIdatChunk) {
    appendChunk(png, "IDAT", std::string_view(stream).substr(offset, kMaxIdatChunk));
  }
  appendChunk(png, "IEND", {});
  return png;
}

bool writePng(const std::filesystem::path& path, const PngImage& image) {
  const std::string png = encodePng(image);
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(png.data(), static_cast<std::streamsize>(png.size()));
  file.close();
  return !file.fail();
}

}  // namespace ondrel::test
