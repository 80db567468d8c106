// Decoding screenshots of every PNG kind within the capture size.

#include "platform/screenshot_bitmap.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

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

  std::unique_ptr<ScreenshotBitmap> decode(const test::PngImage& image, int maxWidth,
                                           int maxHeight) {
    test::writePng(file_, image);
    return decodePngFile(file_.u16string(), maxWidth, maxHeight);
  }
  std::unique_ptr<ScreenshotBitmap> decode(const test::PngImage& image) {
    return decode(image, image.width, image.height);
  }

  ComApartment com_;
  std::filesystem::path file_;
};

test::Bgra pixelAt(const ScreenshotBitmap& bitmap, int x, int y) {
  const std::uint8_t* p = bitmap.pixels() + (std::size_t(y) * bitmap.width() + x) * 4;
  return {p[0], p[1], p[2], p[3]};
}

test::PngImage interlaced(test::PngImage image) {
  image.interlaced = true;
  return image;
}

// "" when the bitmap is `width` x `height` and shows the pattern of `colour` from its top-left
// corner; otherwise what differs first.
std::string differenceFromPattern(const ScreenshotBitmap& bitmap, PngColour colour, int width,
                                  int height, std::uint8_t seed) {
  if (bitmap.width() != width || bitmap.height() != height) {
    return "size " + std::to_string(bitmap.width()) + "x" + std::to_string(bitmap.height());
  }
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (pixelAt(bitmap, x, y) != test::expectedPixel(colour, x, y, seed)) {
        return "pixel " + std::to_string(x) + "," + std::to_string(y);
      }
    }
  }
  return "";
}

std::filesystem::path finding(const char* name) {
  return std::filesystem::path(ONDREL_TEST_PNG_DIR) / name;
}

constexpr PngColour kAllColours[] = {PngColour::Gray8, PngColour::Rgb8,   PngColour::Rgba8,
                                     PngColour::Rgb16, PngColour::Rgba16, PngColour::Palette8};

TEST_F(ScreenshotBitmapTest, EveryColourTypeDecodesToBlueGreenRedAlpha) {
  for (const PngColour colour : kAllColours) {
    for (const bool isInterlaced : {false, true}) {
      test::PngImage image = test::patternImageAs(colour, 37, 300, 201);
      image.interlaced = isInterlaced;
      const std::unique_ptr<ScreenshotBitmap> bitmap = decode(image);
      ASSERT_TRUE(bitmap) << int(colour) << " interlaced " << isInterlaced;
      EXPECT_EQ(differenceFromPattern(*bitmap, colour, 37, 300, 201), "")
          << "colour type " << int(colour) << " interlaced " << isInterlaced;
    }
  }
}

// Small images leave some of the seven passes empty, and a cut can end inside any pass's grid.
TEST_F(ScreenshotBitmapTest, InterlacedImagesOfEveryShapeDecodeWholeAndCut) {
  const std::pair<int, int> shapes[] = {{1, 1}, {2, 1}, {1, 2}, {3, 3},   {5, 5},
                                        {8, 9}, {9, 8}, {4, 7}, {33, 17}, {130, 70}};
  for (const auto& [width, height] : shapes) {
    for (const PngColour colour : {PngColour::Rgba8, PngColour::Palette8, PngColour::Rgb16}) {
      const test::PngImage image = interlaced(test::patternImageAs(colour, width, height, 9));
      for (const auto& [maxWidth, maxHeight] :
           {std::pair{width, height}, {1, 1}, {width, 1}, {1, height}, {3, 5}, {7, 6}}) {
        const int keptWidth = std::min(width, maxWidth);
        const int keptHeight = std::min(height, maxHeight);
        const std::unique_ptr<ScreenshotBitmap> bitmap = decode(image, maxWidth, maxHeight);
        ASSERT_TRUE(bitmap) << width << "x" << height << " in " << maxWidth << "x" << maxHeight;
        EXPECT_EQ(differenceFromPattern(*bitmap, colour, keptWidth, keptHeight, 9), "")
            << width << "x" << height << " colour " << int(colour) << " in " << maxWidth << "x"
            << maxHeight;
      }
    }
  }
}

TEST_F(ScreenshotBitmapTest, KeepsExactlyTheTopLeftPartWithinTheLimits) {
  const test::PngImage image = test::patternImageAs(PngColour::Rgb8, 300, 200, 77);
  for (const auto& [maxWidth, maxHeight] :
       {std::pair{120, 50}, {300, 1}, {1, 200}, {299, 199}, {300, 200}, {301, 700}}) {
    const std::unique_ptr<ScreenshotBitmap> bitmap = decode(image, maxWidth, maxHeight);
    ASSERT_TRUE(bitmap) << maxWidth << "x" << maxHeight;
    EXPECT_EQ(differenceFromPattern(*bitmap, PngColour::Rgb8, std::min(300, maxWidth),
                                    std::min(200, maxHeight), 77),
              "")
        << maxWidth << "x" << maxHeight;
  }
}

// A scroll bar's width, a few rows, or a few hundred rows from a window made taller than the
// capture are cut; a screenshot more than 1024 pixels beyond the capture on a side is none.
TEST_F(ScreenshotBitmapTest, ScreenshotsSomewhatLargerThanTheCaptureAreCut) {
  const std::pair<int, int> cut[] = {{64 + 16, 48 + 8}, {64, 48 + 300}, {64 + 1024, 48 + 1024}};
  for (const auto& [width, height] : cut) {
    const std::unique_ptr<ScreenshotBitmap> bitmap =
        decode(test::patternImageAs(PngColour::Gray8, width, height, 1), 64, 48);
    ASSERT_TRUE(bitmap) << width << "x" << height;
    EXPECT_EQ(differenceFromPattern(*bitmap, PngColour::Gray8, 64, 48, 1), "");
  }
  EXPECT_FALSE(decode(test::patternImageAs(PngColour::Gray8, 64 + 1025, 48, 1), 64, 48));
  EXPECT_FALSE(decode(test::patternImageAs(PngColour::Gray8, 64, 48 + 1025, 1), 64, 48));
}

// A browser may add text or a colour profile; a chunk claiming megabytes is no screenshot's.
TEST_F(ScreenshotBitmapTest, TakesTextChunksOfReasonableSize) {
  test::PngImage image = test::patternImage(20, 10, 5);
  image.extraChunks = {{"tEXt", "Software" + std::string(1, '\0') + "a browser"},
                       {"tEXt", "Comment" + std::string(1, '\0') + std::string(600 << 10, 'c')}};
  const std::unique_ptr<ScreenshotBitmap> bitmap = decode(image);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(differenceFromPattern(*bitmap, PngColour::Rgba8, 20, 10, 5), "");

  image.extraChunks = {{"tEXt", "Comment" + std::string(1, '\0') + std::string(5 << 20, 'c')}};
  EXPECT_FALSE(decode(image));
}

TEST_F(ScreenshotBitmapTest, LimitsOfZeroOrLessGiveNothing) {
  test::writePng(file_, test::patternImage(5, 4, 3));
  ASSERT_TRUE(decodePngFile(file_.u16string(), 5, 4));
  for (const auto& [maxWidth, maxHeight] :
       {std::pair{0, 4}, {5, 0}, {0, 0}, {-1, 4}, {5, -1}, {INT_MIN, INT_MIN}}) {
    EXPECT_FALSE(decodePngFile(file_.u16string(), maxWidth, maxHeight))
        << maxWidth << "x" << maxHeight;
  }
}

// Files a fuzzer found: a 69-byte PNG declaring 20,000 x 20,000 pixels, a 29-byte one declaring
// 32 x 1,040,187,424 and a small one whose text chunk declares 1.1 GB. Each gives nothing at
// once, whatever capture it is decoded for.
TEST_F(ScreenshotBitmapTest, FuzzedFilesDeclaringHugeSizesGiveNothing) {
  for (const char* name : {"png-20000x20000-69-bytes.png", "png-32x1040187424-29-bytes.png",
                           "png-text-chunk-1-1-gb.png"}) {
    const std::u16string path = finding(name).u16string();
    ASSERT_TRUE(std::filesystem::exists(finding(name))) << name;
    for (const auto& [maxWidth, maxHeight] : {std::pair{640, 480}, {16, 16}, {32, 1}}) {
      EXPECT_FALSE(decodePngFile(path, maxWidth, maxHeight))
          << name << " in " << maxWidth << "x" << maxHeight;
    }
  }
}

TEST_F(ScreenshotBitmapTest, MissingOrBrokenFilesGiveNothing) {
  EXPECT_FALSE(decodePngFile(file_.u16string(), 64, 64));
  std::ofstream(file_, std::ios::binary) << "this is not a png\n";
  EXPECT_FALSE(decodePngFile(file_.u16string(), 64, 64));
  std::ofstream(file_, std::ios::binary) << "";
  EXPECT_FALSE(decodePngFile(file_.u16string(), 64, 64));
}

}  // namespace
}  // namespace ondrel::platform
