#ifndef ONDREL_PLATFORM_POSIX_PROFILE_TEXT_H_
#define ONDREL_PLATFORM_POSIX_PROFILE_TEXT_H_

#include <cstddef>
#include <string_view>
#include <vector>

#include "platform/profile_reader.h"

#include "text/wide_text.h"

namespace ondrel::platform {

// The portable profile reader works on a settings file's text, so that the
// parsing can be exercised without files.

// The text of a settings file's bytes: UTF-8, a leading byte order mark dropped.
WideString decodeProfileText(std::string_view bytes);

// What readProfileString and readProfileInt give for a file holding `text`.
WideString profileStringInText(WideView text, WideView section, WideView key, WideView fallback,
                               std::size_t capacity);
int profileIntInText(WideView text, WideView section, WideView key, int fallback);
std::vector<ProfileKey> profileKeysInText(WideView text);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_POSIX_PROFILE_TEXT_H_
