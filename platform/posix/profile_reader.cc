#include "platform/profile_reader.h"

#include <optional>
#include <string>

#include "platform/files.h"
#include "platform/posix/profile_text.h"

namespace ondrel::platform {
namespace {

// A missing or unreadable file reads as empty: every key takes its fallback.
WideString readProfileText(const WideString& file) {
  const std::optional<std::string> bytes = readFileBytes(file);
  return bytes ? decodeProfileText(*bytes) : WideString();
}

}  // namespace

WideString readProfileString(const WideString& file, WideView section, WideView key,
                             WideView fallback, std::size_t capacity) {
  return profileStringInText(readProfileText(file), section, key, fallback, capacity);
}

int readProfileInt(const WideString& file, WideView section, WideView key, int fallback) {
  return profileIntInText(readProfileText(file), section, key, fallback);
}

std::vector<ProfileKey> readProfileKeys(const WideString& file) {
  return profileKeysInText(readProfileText(file));
}

}  // namespace ondrel::platform
