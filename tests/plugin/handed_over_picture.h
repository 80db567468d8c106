// What a viewer gets back from GetPicture: the two movable blocks, taken over,
// read and freed as a viewer would.
#ifndef ONDREL_TESTS_PLUGIN_HANDED_OVER_PICTURE_H_
#define ONDREL_TESTS_PLUGIN_HANDED_OVER_PICTURE_H_

#include <cstdint>
#include <vector>

#include "platform/movable_block.h"
#include "plugin/bitmap_header.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {

struct HandedOverPicture {
  BitmapInfoHeader header;
  std::size_t headerBlockSize = 0;
  std::vector<std::uint8_t> pixels;

  static HandedOverPicture takeOver(platform::BlockHandle headerBlock,
                                    platform::BlockHandle pixelBlock);

  std::size_t stride() const { return rowStride24(std::size_t(header.width)); }
  // The pixel at (x, y), counting rows from the top as the page shows them.
  Bgra at(int x, int y) const;
};

// Where the picture differs from the fake browser's pattern with `seed`
// within `width` x `height` pixels from the top left: a description of the
// first difference, or empty.
std::string differenceFromPattern(const HandedOverPicture& picture, int width, int height,
                                  std::uint8_t seed);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_PLUGIN_HANDED_OVER_PICTURE_H_
