// The files ondrel-render writes: BMP byte for byte, PNG read back through
// the platform's own decoder (the same one the plug-in uses on screenshots).

#include "tools/ondrel_render/picture_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/host_support.h"
#include "platform/screenshot_bitmap.h"

namespace ondrel_render {
namespace {

// A picture whose every byte is different enough to show a swap or a shift.
Picture numberedPicture(int width, int height) {
  Picture picture;
  picture.width = width;
  picture.height = height;
  picture.rows.resize(picture.stride() * std::size_t(height));
  for (std::size_t i = 0; i < picture.rows.size(); ++i) picture.rows[i] = std::uint8_t(i * 7 + 1);
  return picture;
}

std::uint32_t readLittleEndian(const std::string& bytes, std::size_t offset, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | std::uint8_t(bytes[offset + i]);
  return value;
}

TEST(PictureFilesTest, FormatFollowsTheExtensionInAnyLetterCase) {
  const std::pair<const char*, std::optional<PictureFormat>> cases[] = {
      {"a.png", PictureFormat::kPng}, {"dir.bmp/a.PnG", PictureFormat::kPng},
      {"a.BMP", PictureFormat::kBmp}, {".bmp", PictureFormat::kBmp},
      {"a.jpg", std::nullopt},        {"a.png.txt", std::nullopt},
      {"apng", std::nullopt},         {"", std::nullopt},
  };
  for (const auto& [name, format] : cases) EXPECT_EQ(pictureFormatFor(name), format) << name;
}

TEST(PictureFilesTest, BmpHoldsTheRowsAsHandedOver) {
  const Picture picture = numberedPicture(3, 2);  // 9 bytes a row, padded to 12
  const std::string bmp = encodeBmp(picture);
  ASSERT_EQ(bmp.size(), 54u + 24u);
  EXPECT_EQ(bmp.substr(0, 2), "BM");
  EXPECT_EQ(readLittleEndian(bmp, 2, 4), 78u);   // file size
  EXPECT_EQ(readLittleEndian(bmp, 10, 4), 54u);  // pixel offset
  EXPECT_EQ(readLittleEndian(bmp, 14, 4), 40u);  // header size
  EXPECT_EQ(readLittleEndian(bmp, 18, 4), 3u);
  EXPECT_EQ(readLittleEndian(bmp, 22, 4), 2u);  // positive: bottom-up
  EXPECT_EQ(readLittleEndian(bmp, 26, 2), 1u);
  EXPECT_EQ(readLittleEndian(bmp, 28, 2), 24u);
  EXPECT_EQ(readLittleEndian(bmp, 30, 4), 0u);  // uncompressed
  EXPECT_EQ(readLittleEndian(bmp, 34, 4), 24u);
  EXPECT_EQ(bmp.substr(54), std::string(picture.rows.begin(), picture.rows.end()));
}

// Taken before any test points the temporary folder into a folder of its own
// that is gone by the time later tests run.
const std::filesystem::path kTemporaryBase = std::filesystem::temp_directory_path();

class PngFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = kTemporaryBase / ("ondrel-render-png-" + std::to_string(std::random_device()()));
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override { std::filesystem::remove_all(folder_); }

  ondrel::platform::ComApartment com_;  // the Windows encoder and decoder need it
  std::filesystem::path folder_;
};

TEST_F(PngFileTest, PngReadsBackAsTheSamePixelsTopDown) {
  for (const auto& [width, height] : {std::pair{1, 1}, {3, 2}, {4, 5}, {37, 11}}) {
    const Picture picture = numberedPicture(width, height);
    const std::filesystem::path file = folder_ / "picture.png";
    ASSERT_TRUE(writePictureFile(file.u16string(), PictureFormat::kPng, picture)) << width;
    const auto decoded = ondrel::platform::decodePngFile(file.u16string(), 1000, 1000);
    ASSERT_NE(decoded, nullptr) << width;
    ASSERT_EQ(decoded->width(), width);
    ASSERT_EQ(decoded->height(), height);
    for (int y = 0; y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        const std::uint8_t* handed =
            picture.rows.data() + std::size_t(height - 1 - y) * picture.stride() + x * 3;
        const std::uint8_t* read = decoded->pixels() + (std::size_t(y) * width + x) * 4;
        ASSERT_EQ(std::string(handed, handed + 3), std::string(read, read + 3))
            << width << "x" << height << " at " << x << "," << y;
        ASSERT_EQ(read[3], 255);
      }
    }
  }
}

TEST_F(PngFileTest, NothingToWriteOrNowhereToWriteIsAFailure) {
  const Picture empty;
  EXPECT_FALSE(writePictureFile((folder_ / "empty.png").u16string(), PictureFormat::kPng, empty));
  const Picture picture = numberedPicture(2, 2);
  for (const PictureFormat format : {PictureFormat::kPng, PictureFormat::kBmp}) {
    EXPECT_FALSE(writePictureFile((folder_ / "missing" / "x").u16string(), format, picture));
  }
}

}  // namespace
}  // namespace ondrel_render
