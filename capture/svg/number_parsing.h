#ifndef ONDREL_CAPTURE_SVG_NUMBER_PARSING_H_
#define ONDREL_CAPTURE_SVG_NUMBER_PARSING_H_

#include <optional>
#include <string_view>
#include <utility>

namespace ondrel {

// Both take attribute values whose references are already decoded. Numbers
// far beyond a float's range come out as infinities or zeros.

// A width or height value in pixels at 96 dots per inch; nothing when it is a
// percentage or does not start with a number, which leaves the size to the
// view box. Unknown units count as pixels.
std::optional<double> parseLength(std::string_view text);

// A view box's width and height: its third and fourth numbers, separated by
// whitespace and/or commas. Numbers it lacks count as 0.
std::pair<double, double> parseViewBoxSize(std::string_view text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_NUMBER_PARSING_H_
