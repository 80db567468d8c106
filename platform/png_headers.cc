#include "platform/png_headers.h"

#include <algorithm>
#include <array>

namespace ondrel::platform {
namespace {

constexpr std::array<std::uint8_t, 16> kSignatureAndHeaderChunk = {
    0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n', 0, 0, 0, 13, 'I', 'H', 'D', 'R'};
constexpr std::uint32_t kLargestLength = 0x7fffffff;  // for sides and chunk lengths alike
// A chunk's length and type before its data, its checksum after.
constexpr std::int64_t kChunkHeaderBytes = 8;
constexpr std::int64_t kChunkFrameBytes = 12;
constexpr std::array<std::uint8_t, 4> kEndChunk = {'I', 'E', 'N', 'D'};

std::uint32_t bigEndian32(std::span<const std::uint8_t, 4> bytes) {
  return std::uint32_t(bytes[0]) << 24 | std::uint32_t(bytes[1]) << 16 |
         std::uint32_t(bytes[2]) << 8 | std::uint32_t(bytes[3]);
}

bool isPngSide(std::uint32_t side) { return side >= 1 && side <= kLargestLength; }

// Lower case in the first letter of a chunk's type marks it ancillary.
bool isAncillary(std::span<const std::uint8_t, 4> type) { return (type[0] & 0x20) != 0; }

}  // namespace

bool hasPngSignature(std::span<const std::uint8_t> fileStart) {
  return fileStart.size() >= kPngSignatureBytes &&
         std::equal(kSignatureAndHeaderChunk.begin(),
                    kSignatureAndHeaderChunk.begin() + kPngSignatureBytes, fileStart.begin());
}

std::optional<DeclaredPngSize> declaredPngSize(std::span<const std::uint8_t> fileStart) {
  if (fileStart.size() < kDeclaredPngSizeBytes ||
      !std::equal(kSignatureAndHeaderChunk.begin(), kSignatureAndHeaderChunk.end(),
                  fileStart.begin())) {
    return std::nullopt;
  }
  const DeclaredPngSize size{bigEndian32(fileStart.subspan<16, 4>()),
                             bigEndian32(fileStart.subspan<20, 4>())};
  if (!isPngSide(size.width) || !isPngSide(size.height)) return std::nullopt;
  return size;
}

namespace {

// Walks the chunk headers of a PNG of `size` bytes; `readHeader(offset, out)`
// reads a chunk's 8 header bytes at `offset`, false when it cannot.
template <typename ReadHeader>
bool chunksFit(std::int64_t size, ReadHeader readHeader) {
  std::int64_t chunk = kPngSignatureBytes;
  while (chunk < size) {
    std::array<std::uint8_t, kChunkHeaderBytes> header{};
    if (!readHeader(chunk, header)) return false;
    const std::span<const std::uint8_t, 8> bytes(header);
    const std::uint32_t length = bigEndian32(bytes.subspan<0, 4>());
    const std::span<const std::uint8_t, 4> type = bytes.subspan<4, 4>();
    if (length > kLargestLength || (isAncillary(type) && length > kLargestAncillaryChunk) ||
        kChunkFrameBytes + length > size - chunk) {
      return false;
    }
    if (std::equal(type.begin(), type.end(), kEndChunk.begin())) return true;
    chunk += kChunkFrameBytes + length;
  }
  return true;
}

}  // namespace

bool pngChunksFitFile(ReadableFile& file) {
  const std::optional<std::int64_t> fileSize = file.size();
  if (!fileSize) return false;
  return chunksFit(*fileSize, [&](std::int64_t offset, auto& header) {
    return file.seek(offset) == offset && file.read(header.data(), header.size()) == header.size();
  });
}

bool pngChunksFitBytes(std::span<const std::uint8_t> png) {
  return chunksFit(std::int64_t(png.size()), [&](std::int64_t offset, auto& header) {
    if (std::uint64_t(offset) + header.size() > png.size()) return false;
    std::copy_n(png.begin() + offset, header.size(), header.begin());
    return true;
  });
}

}  // namespace ondrel::platform
