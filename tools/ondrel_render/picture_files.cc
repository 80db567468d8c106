#include "tools/ondrel_render/picture_files.h"

#include "platform/files.h"
#include "platform/png_encoder.h"
#include "plugin/bitmap_header.h"

namespace ondrel_render {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kInfoHeaderSize = 40;

bool endsWithIgnoringCase(std::string_view text, std::string_view ending) {
  if (text.size() < ending.size()) return false;
  const std::string_view tail = text.substr(text.size() - ending.size());
  for (std::size_t i = 0; i < ending.size(); ++i) {
    char c = tail[i];
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    if (c != ending[i]) return false;
  }
  return true;
}

// BMP fields are little-endian whatever the machine.
void appendLittleEndian(std::string& bytes, std::uint32_t value, int width) {
  for (int i = 0; i < width; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

void appendInfoHeader(std::string& bytes, const Picture& picture) {
  ondrel::BitmapInfoHeader header;
  header.width = picture.width;
  header.height = picture.height;
  appendLittleEndian(bytes, header.size, 4);
  appendLittleEndian(bytes, std::uint32_t(header.width), 4);
  appendLittleEndian(bytes, std::uint32_t(header.height), 4);
  appendLittleEndian(bytes, header.planes, 2);
  appendLittleEndian(bytes, header.bitCount, 2);
  appendLittleEndian(bytes, header.compression, 4);
  appendLittleEndian(bytes, std::uint32_t(picture.rows.size()), 4);
  appendLittleEndian(bytes, std::uint32_t(header.xPelsPerMeter), 4);
  appendLittleEndian(bytes, std::uint32_t(header.yPelsPerMeter), 4);
  appendLittleEndian(bytes, header.clrUsed, 4);
  appendLittleEndian(bytes, header.clrImportant, 4);
}

}  // namespace

std::optional<PictureFormat> pictureFormatFor(std::string_view fileName) {
  if (endsWithIgnoringCase(fileName, ".png")) return PictureFormat::kPng;
  if (endsWithIgnoringCase(fileName, ".bmp")) return PictureFormat::kBmp;
  return std::nullopt;
}

std::string encodeBmp(const Picture& picture) {
  const std::size_t pixelOffset = kFileHeaderSize + kInfoHeaderSize;
  std::string bytes;
  bytes.reserve(pixelOffset + picture.rows.size());
  bytes += "BM";
  appendLittleEndian(bytes, std::uint32_t(pixelOffset + picture.rows.size()), 4);
  appendLittleEndian(bytes, 0, 4);  // reserved
  appendLittleEndian(bytes, std::uint32_t(pixelOffset), 4);
  appendInfoHeader(bytes, picture);
  bytes.append(reinterpret_cast<const char*>(picture.rows.data()), picture.rows.size());
  return bytes;
}

bool writePictureFile(const ondrel::WideString& path, PictureFormat format,
                      const Picture& picture) {
  if (format == PictureFormat::kPng) {
    return ondrel::platform::writePngFile(path, picture.width, picture.height, picture.rows.data(),
                                          picture.stride());
  }
  // A BMP file states its own size in 32 bits.
  if (picture.rows.size() > 0xFFFFFFFFu - kFileHeaderSize - kInfoHeaderSize) return false;
  return ondrel::platform::writeFileBytes(path, encodeBmp(picture));
}

}  // namespace ondrel_render
