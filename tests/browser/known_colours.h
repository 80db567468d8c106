// Pages and drawings that paint known colours, and checks of what a
// screenshot shows at a place: shared by the tests with a real browser.
#ifndef ONDREL_TESTS_BROWSER_KNOWN_COLOURS_H_
#define ONDREL_TESTS_BROWSER_KNOWN_COLOURS_H_

#include <string>

#include "tests/plugin/handed_over_picture.h"

namespace ondrel::test {

struct Colour {
  int red, green, blue;
};

inline constexpr Colour kWhite{255, 255, 255};
inline constexpr Colour kIconBody{30, 144, 255};
inline constexpr Colour kIconBand{255, 165, 0};

// Screenshots keep CSS colours, give or take rounding.
bool near(const Bgra& pixel, const Colour& colour, int tolerance = 3);
std::string describe(const Bgra& pixel);
int pixelsNear(const HandedOverPicture& picture, const Colour& colour, int tolerance = 3);
void expectColourAt(const HandedOverPicture& picture, int x, int y, const Colour& colour,
                    int tolerance = 3);

// A page that is all one colour; `tail` follows the markup.
std::string plainPage(const Colour& colour, const std::string& tail = "");

// A 120-px-wide drawing of the given height, painted kIconBody but for its
// bottom `bandRows` rows, which are kIconBand: a picture cut short loses the band.
std::string iconDrawing(int height, int bandRows);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_BROWSER_KNOWN_COLOURS_H_
