// Decoding from a borrowed descriptor, stopping after the kept rows, and the memory one decode
// takes, measured through the budget every block is drawn from.

#include "platform/posix/png_decoder.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "platform/posix/memory_budget.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::platform {
namespace {

constexpr std::size_t kUnlimited = std::numeric_limits<std::size_t>::max();
constexpr std::size_t kMiB = std::size_t(1) << 20;

// An anonymous in-memory file holding `bytes`, positioned at its start.
class MemoryFile {
 public:
  explicit MemoryFile(const std::string& bytes) : fd_(memfd_create("ondrel-png", MFD_CLOEXEC)) {
    EXPECT_GE(fd_, 0);
    EXPECT_EQ(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    ::lseek(fd_, 0, SEEK_SET);
  }
  MemoryFile(const MemoryFile&) = delete;
  MemoryFile& operator=(const MemoryFile&) = delete;
  ~MemoryFile() { ::close(fd_); }
  int fd() const { return fd_; }
  off_t position() const { return ::lseek(fd_, 0, SEEK_CUR); }

 private:
  int fd_;
};

std::string findingBytes(const char* name) {
  std::ifstream file(std::filesystem::path(ONDREL_TEST_PNG_DIR) / name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), {});
}

bool showsPattern(const ScreenshotBitmap& bitmap, std::uint8_t seed) {
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const std::uint8_t* p = bitmap.pixels() + (std::size_t(y) * bitmap.width() + x) * 4;
      if (test::Bgra{p[0], p[1], p[2], p[3]} != test::patternPixel(x, y, seed)) return false;
    }
  }
  return true;
}

TEST(PngDescriptorDecode, ReadsFromTheCurrentPositionAndLeavesTheDescriptorOpen) {
  MemoryFile file("leading bytes" + test::encodePng(test::patternImage(20, 10, 4)));
  ASSERT_EQ(::lseek(file.fd(), 13, SEEK_SET), 13);
  const std::unique_ptr<ScreenshotBitmap> bitmap = decodePngDescriptor(file.fd(), 20, 10);
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->width(), 20);
  EXPECT_EQ(bitmap->height(), 10);
  EXPECT_TRUE(showsPattern(*bitmap, 4));
  EXPECT_NE(::fcntl(file.fd(), F_GETFD), -1) << "still open";

  ASSERT_EQ(::lseek(file.fd(), 0, SEEK_SET), 0);
  EXPECT_FALSE(decodePngDescriptor(file.fd(), 20, 10)) << "not a PNG from there";
  EXPECT_FALSE(decodePngDescriptor(-1, 20, 10));
}

// 200 rows of 256 pixels, stored uncompressed: about 200 KiB, of which the first 10 rows are 10
// KiB.
TEST(PngDescriptorDecode, StopsReadingOnceTheLastKeptRowIsIn) {
  const std::string png = test::encodePng(test::patternImage(256, 200, 6));
  MemoryFile whole(png);
  const std::unique_ptr<ScreenshotBitmap> top = decodePngDescriptor(whole.fd(), 256, 10);
  ASSERT_TRUE(top);
  EXPECT_EQ(top->height(), 10);
  EXPECT_TRUE(showsPattern(*top, 6));
  EXPECT_LT(whole.position(), off_t(png.size() / 4));

  // So a file that breaks off below the kept rows still gives them, and one that breaks off
  // within them gives nothing.
  MemoryFile cutShort(png.substr(0, png.size() / 2));
  const std::unique_ptr<ScreenshotBitmap> fromCut = decodePngDescriptor(cutShort.fd(), 256, 10);
  ASSERT_TRUE(fromCut);
  EXPECT_TRUE(showsPattern(*fromCut, 6));
  MemoryFile cutShorter(png.substr(0, png.size() / 2));
  EXPECT_FALSE(decodePngDescriptor(cutShorter.fd(), 256, 150));
}

// Nothing is refused by the budget here: what is measured is what the limits and the row-by-row
// decoding leave libspng to allocate.
TEST(PngDescriptorDecode, TakesTheKeptPixelsAndAFixedAllowanceAtMost) {
  const test::PngImage image = test::patternImage(1000, 300, 2);
  MemoryFile file(test::encodePng(image));
  MemoryBudget budget(kUnlimited);
  const std::unique_ptr<ScreenshotBitmap> bitmap = decodePngDescriptor(file.fd(), 100, 50, budget);
  ASSERT_TRUE(bitmap);
  EXPECT_TRUE(showsPattern(*bitmap, 2));
  const std::size_t kept = 100 * 50 * 4;
  const std::size_t row = 1000 * 4;
  EXPECT_GE(budget.peak(), kept + row);
  EXPECT_LE(budget.peak(), kept + kMiB);
  EXPECT_LE(budget.peak(), pngDecodeBudget(100, 50));
  EXPECT_EQ(budget.inUse(), kept + row) << "every block of libspng's was given back";
}

// Each as an everyday capture, and each with a capture as large as it claims to be: pixels are
// allocated only for rows the file delivers, so either way only the working row counts.
TEST(PngDescriptorDecode, FuzzedFilesTakeOnlyAWorkingRowAndTheAllowance) {
  struct Case {
    const char* name;
    int maxWidth, maxHeight;
    std::size_t rowBytes;
  };
  const Case cases[] = {
      {"png-20000x20000-69-bytes.png", 640, 480, 0},
      {"png-20000x20000-69-bytes.png", 20000, 20000, 20000 * 4},
      {"png-32x1040187424-29-bytes.png", 640, 480, 0},
      {"png-32x1040187424-29-bytes.png", 32, 1040187424, 32 * 4},
      {"png-text-chunk-1-1-gb.png", 640, 480, 16 * 4},
  };
  for (const Case& c : cases) {
    MemoryFile file(findingBytes(c.name));
    MemoryBudget budget(kUnlimited);
    EXPECT_FALSE(decodePngDescriptor(file.fd(), c.maxWidth, c.maxHeight, budget)) << c.name;
    EXPECT_LE(budget.peak(), c.rowBytes * 3 + kMiB)
        << c.name << " in " << c.maxWidth << "x" << c.maxHeight;
  }
}

// A header claiming 100,000 rows of which the file holds 10: a capture that large lets the
// decode go on until the data ends, yet it never holds more than the rows it was given, doubled.
TEST(PngDescriptorDecode, MemoryFollowsTheRowsTheFileDelivers) {
  std::string png = test::encodePng(test::patternImage(64, 100000, 3));
  // The signature, the header chunk, the data chunk's length and type, the zlib and stored block
  // headers, then ten rows behind their filter bytes.
  png.resize(8 + 25 + 8 + 2 + 5 + 10 * (64 * 4 + 1));
  MemoryFile file(png);
  MemoryBudget budget(kUnlimited);
  EXPECT_FALSE(decodePngDescriptor(file.fd(), 64, 100000, budget));
  EXPECT_LE(budget.peak(), 2 * 10 * 64 * 4 + kMiB);
  EXPECT_GE(budget.peak(), 10 * 64 * 4) << "the rows that were there were kept";
}

TEST(PngDescriptorDecode, GivesNothingPastItsBudget) {
  const std::string png = test::encodePng(test::patternImage(64, 64, 1));
  for (const std::size_t limit :
       {std::size_t(0), std::size_t(4096), 64 * 64 * 4 + std::size_t(1000)}) {
    MemoryFile file(png);
    MemoryBudget budget(limit);
    EXPECT_FALSE(decodePngDescriptor(file.fd(), 64, 64, budget)) << limit;
    EXPECT_LE(budget.peak(), limit);
  }
  MemoryFile file(png);
  EXPECT_TRUE(decodePngDescriptor(file.fd(), 64, 64)) << "the default budget suffices";
}

TEST(PngDescriptorDecode, BudgetGrowsWithTheCaptureOnly) {
  EXPECT_EQ(pngDecodeBudget(0, 480), 0u);
  EXPECT_EQ(pngDecodeBudget(640, -1), 0u);
  const std::size_t small = pngDecodeBudget(1, 1);
  EXPECT_LT(small, 8 * kMiB);
  EXPECT_LT(pngDecodeBudget(640, 480), small + 640 * 480 * 4 + 640 * 32);
  EXPECT_GT(pngDecodeBudget(INT_MAX, INT_MAX), std::size_t(INT_MAX) * INT_MAX) << "no wrap";
}

}  // namespace
}  // namespace ondrel::platform
