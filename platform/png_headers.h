#ifndef ONDREL_PLATFORM_PNG_HEADERS_H_
#define ONDREL_PLATFORM_PNG_HEADERS_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/files.h"

// What a PNG file's chunk headers claim, read without decoding anything: a
// cheap look that lets a decoder which trusts the claims be kept from them.
namespace ondrel::platform {

// The width and height a PNG file's header chunk claims, before any pixel
// data backs them.
struct DeclaredPngSize {
  std::uint32_t width;
  std::uint32_t height;
};

// A file's first bytes that hold its declared size: the signature, the header
// chunk's length and type, then width and height.
inline constexpr std::size_t kDeclaredPngSizeBytes = 24;

// The longest ancillary chunk (text, colour profile, metadata) a screenshot
// may carry. A browser's screenshot holds at most a colour profile and a line
// of text in them, far below this.
inline constexpr std::uint32_t kLargestAncillaryChunk = std::uint32_t(1) << 20;

// The eight bytes every PNG file starts with.
inline constexpr std::size_t kPngSignatureBytes = 8;

// Whether `fileStart` begins with the PNG signature: a file that does not is
// no PNG at all, whatever else is wrong with one that does.
bool hasPngSignature(std::span<const std::uint8_t> fileStart);

// The size declared at the start of a PNG file; nothing unless `fileStart`
// begins with the PNG signature and a 13-byte header chunk whose sides are
// 1 to 2^31 - 1, as PNG allows. The rest of the file is not looked at.
std::optional<DeclaredPngSize> declaredPngSize(std::span<const std::uint8_t> fileStart);

// Walks the chunk headers of a PNG file from the end of its signature to its
// end chunk, skipping their data: true when every chunk lies within the file
// and no ancillary chunk is longer than kLargestAncillaryChunk. Decoders that
// reserve a chunk's declared length before reading it (wine's WIC does) thus
// never see a length the file does not back. Leaves the position anywhere.
bool pngChunksFitFile(ReadableFile& file);

// The same for a PNG held in memory.
bool pngChunksFitBytes(std::span<const std::uint8_t> png);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PNG_HEADERS_H_
