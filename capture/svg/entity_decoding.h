#ifndef ONDREL_CAPTURE_SVG_ENTITY_DECODING_H_
#define ONDREL_CAPTURE_SVG_ENTITY_DECODING_H_

#include <string>
#include <string_view>

namespace ondrel {

// Characters outside ASCII can be neither part of a number nor of a unit; a
// byte that UTF-8 never uses stands in for them in decoded text.
inline constexpr char kNonAsciiStandIn = '\xFF';

// An attribute value with its character references and predefined entities
// replaced; any other '&' stays as written. A referenced character outside
// ASCII, or NUL, becomes kNonAsciiStandIn. Linear in the value's length.
std::string decodeReferences(std::string_view raw);

}  // namespace ondrel

#endif  // ONDREL_CAPTURE_SVG_ENTITY_DECODING_H_
