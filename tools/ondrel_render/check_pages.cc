#include "tools/ondrel_render/check_pages.h"

#include <cstdio>
#include <cstdlib>

namespace ondrel_render {
namespace {

constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlue{30, 144, 255};     // #1e90ff
constexpr Rgb kOrange{255, 140, 0};    // #ff8c00
constexpr Rgb kGreen{46, 139, 87};     // #2e8b57
constexpr Rgb kMagenta{199, 21, 133};  // #c71585

// Colours pass through a screenshot within this much per channel.
constexpr int kTolerance = 8;

constexpr std::string_view kHtmlText =
    "<!DOCTYPE html>\n"
    "<html><head><meta charset=\"utf-8\"><title>ondrel check</title>\n"
    "<style>html, body { margin: 0; height: 100%; background: #ffffff; }\n"
    "div { position: fixed; width: 50%; height: 50%; }</style></head>\n"
    "<body><div style=\"left: 0; top: 0; background: #1e90ff\"></div>\n"
    "<div style=\"right: 0; bottom: 0; background: #ff8c00\"></div></body></html>\n";

// Each block of raw HTML ends with a line ending in ">" and an empty line,
// which both dialects take as it is.
constexpr std::string_view kMarkdownText =
    "<div style=\"position: fixed; left: 0; top: 0; width: 50%; height: 50%; "
    "background: #2e8b57\"></div>\n"
    "\n"
    "<div style=\"position: fixed; right: 0; bottom: 0; width: 50%; height: 50%; "
    "background: #c71585\"></div>\n"
    "\n"
    "ondrel check\n";

std::string hex(const Rgb& colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", colour.red & 0xFF, colour.green & 0xFF,
                colour.blue & 0xFF);
  return text;
}

Rgb pixelAt(const ondrel::platform::ScreenshotBitmap& picture, int x, int y) {
  const std::uint8_t* pixel =
      picture.pixels() + (std::size_t(y) * std::size_t(picture.width()) + std::size_t(x)) * 4;
  return {pixel[2], pixel[1], pixel[0]};
}

bool near(const Rgb& a, const Rgb& b) {
  return std::abs(a.red - b.red) <= kTolerance && std::abs(a.green - b.green) <= kTolerance &&
         std::abs(a.blue - b.blue) <= kTolerance;
}

}  // namespace

const CheckPage& htmlCheckPage() {
  static const CheckPage page{
      "HTML test page", ".html", kHtmlText, {kBlue, kWhite, kWhite, kOrange}};
  return page;
}

const CheckPage& markdownCheckPage() {
  static const CheckPage page{
      "Markdown test page", ".md", kMarkdownText, {kGreen, kWhite, kWhite, kMagenta}};
  return page;
}

std::string colourMismatch(const CheckPage& page,
                           const ondrel::platform::ScreenshotBitmap& picture) {
  const int width = picture.width();
  const int height = picture.height();
  if (width < 4 || height < 4) return "the picture is too small to tell its colours";
  for (int quadrant = 0; quadrant < 4; ++quadrant) {
    const int x = width / 4 + (quadrant % 2) * (width / 2);
    const int y = height / 4 + (quadrant / 2) * (height / 2);
    const Rgb found = pixelAt(picture, x, y);
    const Rgb& wanted = page.quadrants[std::size_t(quadrant)];
    if (!near(found, wanted)) {
      return "at (" + std::to_string(x) + ", " + std::to_string(y) + ") " + hex(found) + " where " +
             hex(wanted) + " belongs";
    }
  }
  return {};
}

}  // namespace ondrel_render
