#ifndef ONDREL_PLATFORM_SCREENSHOT_LIMIT_H_
#define ONDREL_PLATFORM_SCREENSHOT_LIMIT_H_

#include <cstdint>

namespace ondrel::platform {

// How much larger than the capture a screenshot may declare itself.
//
// A browser's screenshot is the size of the window it was given, or a little
// more: a scroll bar's width, a few rows, or a few hundred rows when the
// capture asks for a taller window than the picture to avoid heights that the
// browser draws wrongly. Each of these is cut back to the capture size. A
// screenshot that claims more than this margin beyond the capture on either
// side is no browser's picture of this capture. Refusing it from its header
// keeps a decoder that decodes the whole declared image (WIC may) within the
// capture size plus the margin, bounds the rows libspng keeps while it
// decodes, and bounds the time an interlaced image, whose last pass comes only
// after every other row of the whole image, takes to reach the kept rows.
inline constexpr std::int64_t kScreenshotMargin = 1024;

// The largest side a screenshot may declare for a capture side of
// `captureSide` pixels: the side plus the margin, at most 2^31 - 1 (the
// largest side PNG allows); 0 for a side of 0 or less.
constexpr std::uint32_t largestScreenshotSide(int captureSide) {
  if (captureSide <= 0) return 0;
  const std::int64_t side = std::int64_t(captureSide) + kScreenshotMargin;
  return std::uint32_t(side < 0x7fffffff ? side : 0x7fffffff);
}

// True when a screenshot of `width` x `height` pixels may be decoded for a
// capture of `captureWidth` x `captureHeight`.
constexpr bool screenshotFitsCapture(std::uint32_t width, std::uint32_t height, int captureWidth,
                                     int captureHeight) {
  return width <= largestScreenshotSide(captureWidth) &&
         height <= largestScreenshotSide(captureHeight);
}

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_SCREENSHOT_LIMIT_H_
