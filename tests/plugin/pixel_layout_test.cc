// The shape of the 24-bit picture handed to the viewer.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>

#include "plugin/pixel_layout.h"

namespace ondrel {
namespace {

TEST(PixelLayout, StridesArePaddedToFourBytes) {
  const std::pair<std::int32_t, std::int32_t> strides[] = {{1, 4},  {2, 8},      {3, 12},
                                                           {4, 12}, {640, 1920}, {641, 1924}};
  for (const auto& [width, stride] : strides) {
    const std::optional<PixelLayout> layout = PixelLayout::of({width, 2});
    ASSERT_TRUE(layout) << width;
    EXPECT_EQ(layout->stride, stride) << width;
    EXPECT_EQ(layout->blockSize, stride * 2) << width;
  }
  EXPECT_EQ(PixelLayout::of({640, 480})->blockSize, 921600);
}

TEST(PixelLayout, SizesTheViewerCannotHoldAreRefused) {
  for (const PictureSize size : {PictureSize{0, 10}, PictureSize{10, 0}, PictureSize{-640, 480},
                                 PictureSize{640, -480}, PictureSize{100000, 100000},
                                 PictureSize{2147483647, 2147483647}, PictureSize{2147483647, 1}}) {
    EXPECT_FALSE(PixelLayout::of(size)) << size.width << "x" << size.height;
  }
  // The largest block that still fits: 715827882 pixels a row give 2147483648 bytes, too many.
  EXPECT_TRUE(PixelLayout::of({715827881, 1}));
  EXPECT_FALSE(PixelLayout::of({715827882, 1}));
  EXPECT_TRUE(PixelLayout::of({1, 536870911}));
  EXPECT_FALSE(PixelLayout::of({1, 536870912}));
}

TEST(PixelLayout, HeaderDescribesABottomUp24BitPicture) {
  const BitmapInfoHeader header = PixelLayout::of({7, 5})->header();
  EXPECT_EQ(header.size, 40u);
  EXPECT_EQ(header.width, 7);
  EXPECT_EQ(header.height, 5);
  EXPECT_EQ(header.planes, 1);
  EXPECT_EQ(header.bitCount, 24);
  EXPECT_EQ(header.compression, 0u);
  EXPECT_EQ(header.sizeImage, 0u);
}

}  // namespace
}  // namespace ondrel
