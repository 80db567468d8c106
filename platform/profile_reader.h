#ifndef ONDREL_PLATFORM_PROFILE_READER_H_
#define ONDREL_PLATFORM_PROFILE_READER_H_

#include <cstddef>
#include <vector>

#include "text/wide_text.h"

namespace ondrel::platform {

// The platform's reader of initialisation files: section and key names match
// without regard to ASCII letter case, values are trimmed, a missing file,
// section or key yields the fallback. Text longer than `capacity` - 1 wide
// characters is cut to that length.
WideString readProfileString(const WideString& file, WideView section, WideView key,
                             WideView fallback, std::size_t capacity);

// The value read as an integer (leading white space, sign, decimal or 0x/0o/0b
// digits; text that is no number reads as 0), or the fallback when the key is
// missing or empty.
int readProfileInt(const WideString& file, WideView section, WideView key, int fallback);

// A key as the file holds it, in the section it stands in.
struct ProfileKey {
  WideString section;
  WideString key;
  bool operator==(const ProfileKey&) const = default;
};

// Every key of every section, in the file's order, as the reader sees them:
// comments and lines without "=" are none. Empty for a missing file.
std::vector<ProfileKey> readProfileKeys(const WideString& file);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PROFILE_READER_H_
