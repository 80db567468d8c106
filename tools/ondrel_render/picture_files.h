#ifndef ONDREL_TOOLS_ONDREL_RENDER_PICTURE_FILES_H_
#define ONDREL_TOOLS_ONDREL_RENDER_PICTURE_FILES_H_

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "plugin/bitmap_header.h"
#include "text/wide_text.h"

namespace ondrel_render {

// A picture as the plug-in hands it over: 24-bit rows, bottom row first, each
// pixel blue, green, red, each row padded to a multiple of four bytes.
struct Picture {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rows;

  std::size_t stride() const { return ondrel::rowStride24(std::size_t(width)); }
};

enum class PictureFormat { kPng, kBmp };

// The format a file name asks for by its extension, letter case ignored.
std::optional<PictureFormat> pictureFormatFor(std::string_view fileName);

// The bytes of a BMP file holding the picture as it is.
std::string encodeBmp(const Picture& picture);

// Writes the picture in `format`, replacing the file; false when that fails.
bool writePictureFile(const ondrel::WideString& path, PictureFormat format, const Picture& picture);

}  // namespace ondrel_render

#endif  // ONDREL_TOOLS_ONDREL_RENDER_PICTURE_FILES_H_
