// Decoding screenshots of every PNG kind, and turning them into the viewer's
// 24-bit bottom-up rows.

#include "platform/screenshot_bitmap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/host_support.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::platform {
namespace {

using test::PngColour;

class ScreenshotBitmapTest : public ::testing::Test {
 protected:
  ScreenshotBitmapTest() {
    std::random_device entropy;
    file_ = std::filesystem::temp_directory_path() /
            ("ondrel-screenshot-" + std::to_string(entropy()) + ".png");
  }
  ~ScreenshotBitmapTest() override { std::filesystem::remove(file_); }

  std::unique_ptr<ScreenshotBitmap> decode(const test::PngImage& image) {
    test::writePng(file_, image);
    return decodePngFile(file_.u16string());
  }

  ComApartment com_;
  std::filesystem::path file_;
};

test::Bgra pixelAt(const ScreenshotBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.pixels() + (std::size_t(y) * bitmap.width() + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

TEST_F(ScreenshotBitmapTest, EveryColourTypeDecodesToBlueGreenRedAlpha) {
  for (const PngColour colour : {PngColour::Gray8, PngColour::Rgb8, PngColour::Rgba8,
                                 PngColour::Rgb16, PngColour::Rgba16, PngColour::Palette8}) {
    const std::unique_ptr<ScreenshotBitmap> bitmap =
        decode(test::patternImageAs(colour, 37, 300, 201));
    ASSERT_TRUE(bitmap) << int(colour);
    ASSERT_EQ(bitmap->width(), 37);
    ASSERT_EQ(bitmap->height(), 300);
    for (int y = 0; y < 300; ++y) {
      for (int x = 0; x < 37; ++x) {
        ASSERT_EQ(pixelAt(*bitmap, x, y), test::expectedPixel(colour, x, y, 201))
            << "colour type " << int(colour) << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(ScreenshotBitmapTest, MissingOrBrokenFilesGiveNothing) {
  EXPECT_FALSE(decodePngFile(file_.u16string()));
  std::ofstream(file_, std::ios::binary) << "this is not a png\n";
  EXPECT_FALSE(decodePngFile(file_.u16string()));
  std::ofstream(file_, std::ios::binary) << "";
  EXPECT_FALSE(decodePngFile(file_.u16string()));
}

TEST_F(ScreenshotBitmapTest, ConversionCutsAndFillsTheBottomUpRows) {
  const std::unique_ptr<ScreenshotBitmap> bitmap = decode(test::patternImage(3, 2, 7));
  ASSERT_TRUE(bitmap);
  BitmapInfoHeader header;
  header.width = 4;
  header.height = 3;
  std::vector<std::uint8_t> rows(12 * 3, 0xEE);
  ASSERT_TRUE(copyAs24BitBottomUp(*bitmap, header, rows.data(), rows.size()));
  // Bottom row first: the screenshot's two rows are the top two of three.
  const std::vector<std::uint8_t> expected = {
      0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // row 2: beyond the screenshot, black
      0, 1, 7, 1, 1, 7, 2, 1, 7, 0, 0, 0,  // row 1, then a black pixel
      0, 0, 7, 1, 0, 7, 2, 0, 7, 0, 0, 0,  // row 0
  };
  EXPECT_EQ(rows, expected);

  header.width = 2;
  header.height = 1;
  std::vector<std::uint8_t> cut(8, 0xEE);
  ASSERT_TRUE(copyAs24BitBottomUp(*bitmap, header, cut.data(), cut.size()));
  EXPECT_EQ(std::vector<std::uint8_t>(cut.begin(), cut.begin() + 6),
            (std::vector<std::uint8_t>{0, 0, 7, 1, 0, 7}));

  EXPECT_FALSE(copyAs24BitBottomUp(*bitmap, header, cut.data(), 5)) << "too small a block";
}

}  // namespace
}  // namespace ondrel::platform
