#ifndef ONDREL_CAPTURE_DEVTOOLS_BASE64_H_
#define ONDREL_CAPTURE_DEVTOOLS_BASE64_H_

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace ondrel::devtools {

// Decodes base64 in the standard alphabet, padded to whole groups of four
// as the DevTools protocol sends binary data; nothing for anything else.
std::optional<std::vector<std::uint8_t>> decodeBase64(std::string_view text);

}  // namespace ondrel::devtools

#endif  // ONDREL_CAPTURE_DEVTOOLS_BASE64_H_
