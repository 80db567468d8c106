#ifndef ONDREL_CAPTURE_SVG_XML_SCANNING_H_
#define ONDREL_CAPTURE_SVG_XML_SCANNING_H_

#include <optional>
#include <string_view>

namespace ondrel {

// The raw values of the attributes that size a drawing, as written in the
// root element's start tag: references are not yet decoded. A repeated
// attribute keeps its last value.
struct SizeAttributes {
  std::optional<std::string_view> width;
  std::optional<std::string_view> height;
  std::optional<std::string_view> viewBox;
};

// Finds the first element of the NUL-terminated `text` and reads the size
// attributes of its start tag. Nothing when the text has no element or the
// first is not an <svg> (under any namespace prefix). The values point into
// `text`. Any bytes are read in linear time and never past the NUL.
std::optional<SizeAttributes> readSvgRootAttributes(const char* text);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_XML_SCANNING_H_
