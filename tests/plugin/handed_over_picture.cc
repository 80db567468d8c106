#include "tests/plugin/handed_over_picture.h"

#include <cstring>
#include <string>

#include "tools/plugin_host/handed_over_block.h"

namespace ondrel::test {

HandedOverPicture HandedOverPicture::takeOver(platform::BlockHandle headerBlock,
                                              platform::BlockHandle pixelBlock) {
  const ondrel_host::HandedOverBlock header(headerBlock);
  const ondrel_host::HandedOverBlock pixels(pixelBlock);
  HandedOverPicture picture;
  picture.headerBlockSize = header.size();
  if (const auto bytes = header.read(sizeof picture.header)) {
    std::memcpy(&picture.header, bytes->data(), sizeof picture.header);
  }
  if (auto bytes = pixels.read(pixels.size())) picture.pixels = std::move(*bytes);
  return picture;
}

Bgra HandedOverPicture::at(int x, int y) const {
  const std::size_t row = std::size_t(header.height - 1 - y);
  const std::uint8_t* pixel = pixels.data() + row * stride() + std::size_t(x) * 3;
  return Bgra{pixel[0], pixel[1], pixel[2], 255};
}

std::string differenceFromPattern(const HandedOverPicture& picture, int width, int height,
                                  std::uint8_t seed) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Bgra expected = patternPixel(x, y, seed);
      const Bgra actual = picture.at(x, y);
      if (!(actual == expected)) {
        return "pixel (" + std::to_string(x) + ", " + std::to_string(y) + ") is " +
               std::to_string(actual.blue) + "/" + std::to_string(actual.green) + "/" +
               std::to_string(actual.red) + " (blue/green/red), expected " +
               std::to_string(expected.blue) + "/" + std::to_string(expected.green) + "/" +
               std::to_string(expected.red);
      }
    }
  }
  return {};
}

}  // namespace ondrel::test
