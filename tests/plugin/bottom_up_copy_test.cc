// Turning a decoded screenshot into the viewer's 24-bit bottom-up rows.

#include "plugin/bottom_up_copy.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/host_support.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel {
namespace {

// The screenshot as the capture gets it: written as a PNG file and decoded.
std::unique_ptr<platform::ScreenshotBitmap> decoded(const test::PngImage& image) {
  std::random_device entropy;
  const std::filesystem::path file = std::filesystem::temp_directory_path() /
                                     ("ondrel-screenshot-" + std::to_string(entropy()) + ".png");
  test::writePng(file, image);
  std::unique_ptr<platform::ScreenshotBitmap> bitmap =
      platform::decodePngFile(file.u16string(), image.width, image.height);
  std::filesystem::remove(file);
  return bitmap;
}

TEST(BottomUpCopy, ConversionCutsAndFillsTheBottomUpRows) {
  const platform::ComApartment com;
  const std::unique_ptr<platform::ScreenshotBitmap> bitmap = decoded(test::patternImage(3, 2, 7));
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
}  // namespace ondrel
