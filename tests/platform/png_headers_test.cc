// Reading what a PNG's chunk headers claim without decoding it, and which declared sizes a
// capture takes.

#include "platform/png_headers.h"

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "platform/screenshot_limit.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::platform {
namespace {

std::vector<std::uint8_t> bytesOf(const std::string& text) {
  return std::vector<std::uint8_t>(text.begin(), text.end());
}

std::vector<std::uint8_t> fileStartOf(const char* finding) {
  std::ifstream file(std::filesystem::path(ONDREL_TEST_PNG_DIR) / finding, std::ios::binary);
  std::vector<std::uint8_t> bytes(std::istreambuf_iterator<char>(file), {});
  bytes.resize(std::min(bytes.size(), kDeclaredPngSizeBytes));
  return bytes;
}

TEST(DeclaredPngSize, ReadsWidthAndHeightFromTheHeaderChunk) {
  const std::vector<std::uint8_t> png = bytesOf(test::encodePng(test::patternImage(300, 2, 0)));
  const std::optional<DeclaredPngSize> size = declaredPngSize(png);
  ASSERT_TRUE(size);
  EXPECT_EQ(size->width, 300u);
  EXPECT_EQ(size->height, 2u);

  const std::vector<std::uint8_t> start(png.begin(), png.begin() + kDeclaredPngSizeBytes);
  EXPECT_TRUE(declaredPngSize(start)) << "the first 24 bytes are enough";
}

TEST(DeclaredPngSize, ReadsWhatTheFuzzedFilesClaim) {
  const std::optional<DeclaredPngSize> square =
      declaredPngSize(fileStartOf("png-20000x20000-69-bytes.png"));
  ASSERT_TRUE(square);
  EXPECT_EQ(square->width, 20000u);
  EXPECT_EQ(square->height, 20000u);
  const std::optional<DeclaredPngSize> tall =
      declaredPngSize(fileStartOf("png-32x1040187424-29-bytes.png"));
  ASSERT_TRUE(tall);
  EXPECT_EQ(tall->width, 32u);
  EXPECT_EQ(tall->height, 1040187424u);
}

TEST(DeclaredPngSize, RefusesAnythingButASignatureAndAValidHeaderChunk) {
  const std::vector<std::uint8_t> png = bytesOf(test::encodePng(test::patternImage(3, 2, 0)));
  auto changed = [&](std::size_t at, std::uint8_t value) {
    std::vector<std::uint8_t> bytes = png;
    bytes[at] = value;
    return bytes;
  };
  EXPECT_FALSE(declaredPngSize(std::vector<std::uint8_t>(png.begin(), png.begin() + 23)));
  EXPECT_FALSE(declaredPngSize(changed(0, 0x88))) << "signature";
  EXPECT_FALSE(declaredPngSize(changed(7, 0))) << "signature";
  EXPECT_FALSE(declaredPngSize(changed(11, 14))) << "header chunk length";
  EXPECT_FALSE(declaredPngSize(changed(12, 'i'))) << "chunk type";
  EXPECT_FALSE(declaredPngSize(changed(19, 0))) << "width 0";
  EXPECT_FALSE(declaredPngSize(changed(23, 0))) << "height 0";
  EXPECT_FALSE(declaredPngSize(changed(16, 0x80))) << "width beyond 2^31 - 1";
  EXPECT_FALSE(declaredPngSize(changed(20, 0x80))) << "height beyond 2^31 - 1";
  std::vector<std::uint8_t> widest = changed(16, 0x7f);
  std::fill(widest.begin() + 17, widest.begin() + 20, 0xff);
  ASSERT_TRUE(declaredPngSize(widest));
  EXPECT_EQ(declaredPngSize(widest)->width, 0x7fffffffu);
}

// The signature and header chunk of a small PNG, then `middle`, then that PNG's other chunks.
std::string pngWith(const std::string& middle) {
  const std::string png = test::encodePng(test::patternImage(3, 2, 0));
  constexpr std::size_t kSignatureAndHeader = 8 + 25;
  return png.substr(0, kSignatureAndHeader) + middle + png.substr(kSignatureAndHeader);
}

// A chunk frame declaring `length` bytes, followed by `present` of them and a checksum.
std::string chunk(const std::string& type, std::uint32_t length, std::size_t present) {
  std::string bytes;
  for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(char(length >> shift));
  return bytes + type + std::string(present, 'x') + "crc!";
}

class PngChunksTest : public ::testing::Test {
 protected:
  PngChunksTest() {
    std::random_device entropy;
    file_ = std::filesystem::temp_directory_path() /
            ("ondrel-chunks-" + std::to_string(entropy()) + ".png");
  }
  ~PngChunksTest() override { std::filesystem::remove(file_); }

  bool fit(const std::string& bytes) {
    std::ofstream(file_, std::ios::binary | std::ios::trunc) << bytes;
    std::optional<ReadableFile> file = ReadableFile::open(file_.u16string());
    return file && pngChunksFitFile(*file);
  }

  std::filesystem::path file_;
};

TEST_F(PngChunksTest, TakesPngsWhoseChunksLieWithinTheFile) {
  EXPECT_TRUE(fit(test::encodePng(test::patternImage(300, 260, 0)))) << "several data chunks";
  EXPECT_TRUE(fit(pngWith(chunk("tEXt", 20, 20))));
  EXPECT_TRUE(fit(pngWith(chunk("iCCP", kLargestAncillaryChunk, kLargestAncillaryChunk))));
  EXPECT_TRUE(fit(pngWith(chunk("IDAT", 3 << 20, 3 << 20)))) << "image data may be long";
  EXPECT_TRUE(fit(pngWith("") + "trailing bytes after the end chunk"));
  const std::string png = test::encodePng(test::patternImage(3, 2, 0));
  EXPECT_TRUE(fit(png.substr(0, png.size() - 12))) << "no end chunk: the decoder judges";
}

TEST_F(PngChunksTest, RefusesChunksLongerThanTheFileOrTheAncillaryLimit) {
  std::ifstream finding(std::filesystem::path(ONDREL_TEST_PNG_DIR) / "png-text-chunk-1-1-gb.png",
                        std::ios::binary);
  EXPECT_FALSE(fit(std::string(std::istreambuf_iterator<char>(finding), {})));
  EXPECT_FALSE(fit(pngWith(chunk("tEXt", 1000, 999))));
  EXPECT_FALSE(fit(pngWith(chunk("IDAT", 0xfffffff0, 10))));
  EXPECT_FALSE(fit(pngWith(chunk("zTXt", kLargestAncillaryChunk + 1, kLargestAncillaryChunk + 1))));
  EXPECT_FALSE(fit(pngWith(chunk("IDAT", 0x80000000, 0)))) << "beyond PNG's largest length";
  const std::string png = test::encodePng(test::patternImage(30, 20, 0));
  EXPECT_FALSE(fit(png.substr(0, png.size() / 2))) << "cut off within a chunk";
  EXPECT_FALSE(fit(png.substr(0, 8 + 25 + 5))) << "cut off within a chunk's header";
}

TEST(ScreenshotLimit, TakesScreenshotsUpToTheMarginBeyondTheCapture) {
  EXPECT_TRUE(screenshotFitsCapture(640, 480, 640, 480));
  EXPECT_TRUE(screenshotFitsCapture(1, 1, 640, 480));
  EXPECT_TRUE(screenshotFitsCapture(640 + 16, 480 + 8, 640, 480));
  EXPECT_TRUE(screenshotFitsCapture(640, 480 + 400, 640, 480));
  EXPECT_TRUE(screenshotFitsCapture(640 + 1024, 480 + 1024, 640, 480));
  EXPECT_FALSE(screenshotFitsCapture(640 + 1025, 480, 640, 480));
  EXPECT_FALSE(screenshotFitsCapture(640, 480 + 1025, 640, 480));
  EXPECT_FALSE(screenshotFitsCapture(20000, 20000, 640, 480));
  EXPECT_FALSE(screenshotFitsCapture(32, 1040187424, 640, 480));
}

TEST(ScreenshotLimit, NeverOverflowsAndTakesNothingForEmptyCaptures) {
  EXPECT_EQ(largestScreenshotSide(INT_MAX), 0x7fffffffu);
  EXPECT_EQ(largestScreenshotSide(INT_MAX - 1000), 0x7fffffffu);
  EXPECT_EQ(largestScreenshotSide(1), 1025u);
  EXPECT_EQ(largestScreenshotSide(0), 0u);
  EXPECT_EQ(largestScreenshotSide(INT_MIN), 0u);
  EXPECT_TRUE(screenshotFitsCapture(0x7fffffff, 0x7fffffff, INT_MAX, INT_MAX));
  EXPECT_FALSE(screenshotFitsCapture(1, 1, 0, 480));
  EXPECT_FALSE(screenshotFitsCapture(1, 1, 640, -1));
}

}  // namespace
}  // namespace ondrel::platform
