#include "tests/browser/known_colours.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace ondrel::test {
namespace {

std::string rgb(const Colour& colour) {
  return "rgb(" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
         std::to_string(colour.blue) + ")";
}

}  // namespace

bool near(const Bgra& pixel, const Colour& colour, int tolerance) {
  return std::abs(pixel.red - colour.red) <= tolerance &&
         std::abs(pixel.green - colour.green) <= tolerance &&
         std::abs(pixel.blue - colour.blue) <= tolerance;
}

std::string describe(const Bgra& pixel) {
  return "rgb(" + std::to_string(pixel.red) + ", " + std::to_string(pixel.green) + ", " +
         std::to_string(pixel.blue) + ")";
}

int pixelsNear(const HandedOverPicture& picture, const Colour& colour, int tolerance) {
  int count = 0;
  for (int y = 0; y < picture.header.height; ++y) {
    for (int x = 0; x < picture.header.width; ++x) {
      count += near(picture.at(x, y), colour, tolerance);
    }
  }
  return count;
}

void expectColourAt(const HandedOverPicture& picture, int x, int y, const Colour& colour,
                    int tolerance) {
  EXPECT_TRUE(near(picture.at(x, y), colour, tolerance))
      << "(" << x << ", " << y << ") is " << describe(picture.at(x, y));
}

std::string plainPage(const Colour& colour, const std::string& tail) {
  return "<html><body style=\"margin:0;background:" + rgb(colour) + "\"></body></html>\n" + tail;
}

std::string iconDrawing(int height, int bandRows) {
  const std::string side = std::to_string(height);
  const std::string body = std::to_string(height - bandRows);
  return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"120\" height=\"" + side + "\">" +
         "<rect width=\"120\" height=\"" + body + "\" fill=\"" + rgb(kIconBody) + "\"/>" +
         "<rect y=\"" + body + "\" width=\"120\" height=\"" + std::to_string(bandRows) +
         "\" fill=\"" + rgb(kIconBand) + "\"/></svg>\n";
}

}  // namespace ondrel::test
