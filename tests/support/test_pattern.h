// The picture every fake browser screenshot shows, in each PNG colour type, and what a decoder
// must make of it.

#ifndef ONDREL_TESTS_SUPPORT_TEST_PATTERN_H_
#define ONDREL_TESTS_SUPPORT_TEST_PATTERN_H_

#include <cstdint>
#include <string_view>

#include "tests/support/png_writer.h"

namespace ondrel::test {

struct Bgra {
  std::uint8_t blue, green, red, alpha;
  friend bool operator==(const Bgra&, const Bgra&) = default;
};

// red = seed, green = y % 256, blue = x % 256, opaque: every pixel tells where it came from and
// the seed tells which page it belongs to.
Bgra patternPixel(int x, int y, std::uint8_t seed);

// The pattern as Rgba8.
PngImage patternImage(int width, int height, std::uint8_t seed);

// The same visible colours where the colour type can hold them: Rgb8, Rgba16 and Rgb16 exactly
// (16-bit samples are v * 257). Gray8 shows gray = (x + y) % 256; Palette8 indexes a 256-entry
// palette of (seed, i, i) with (x + y) % 256.
PngImage patternImageAs(PngColour colour, int width, int height, std::uint8_t seed);

// What a decoder must produce at (x, y) from patternImageAs(colour, ..., seed).
Bgra expectedPixel(PngColour colour, int x, int y, std::uint8_t seed);

// The decimal number after the first "seed:" in a page (spaces allowed between), modulo 256;
// 0x80 when there is none.
std::uint8_t seedOfPage(std::string_view pageText);

// The decimal number of milliseconds after the first "pause:" in a page, 0
// when there is none: the fake browser waits that much longer for that page,
// so that one of several concurrent captures can be made to end last.
unsigned pauseOfPage(std::string_view pageText);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_TEST_PATTERN_H_
