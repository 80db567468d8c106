#include "platform/posix/profile_text.h"

#include <cstdint>
#include <optional>

namespace ondrel::platform {
namespace {

bool isSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\v' || c == u'\f';
}

WideView trim(WideView text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
  return text;
}

// A value written in matching single or double quotes loses them.
WideView unquote(WideView value) {
  if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
      value.back() == value.front()) {
    return value.substr(1, value.size() - 2);
  }
  return value;
}

// Calls `entry(section, key, value)` for every key line, in order, until it
// returns true; true then.
template <typename Entry>
bool forEachEntry(WideView text, Entry entry) {
  WideView section;
  while (!text.empty()) {
    const std::size_t end = text.find(u'\n');
    const WideView line = trim(text.substr(0, end));
    text = end == WideView::npos ? WideView() : text.substr(end + 1);
    if (line.empty() || line.front() == u';') continue;
    if (line.front() == u'[') {
      const std::size_t close = line.find(u']');
      section = trim(line.substr(1, close == WideView::npos ? line.npos : close - 1));
      continue;
    }
    const std::size_t equals = line.find(u'=');
    if (equals == WideView::npos) continue;
    if (entry(section, trim(line.substr(0, equals)), trim(line.substr(equals + 1)))) return true;
  }
  return false;
}

// The value of the first `key` in the first section named `section`.
std::optional<WideString> findValue(WideView text, WideView section, WideView key) {
  std::optional<WideString> found;
  forEachEntry(text, [&](WideView inSection, WideView name, WideView value) {
    if (!equalsIgnoringAsciiCase(inSection, section) || !equalsIgnoringAsciiCase(name, key)) {
      return false;
    }
    found = WideString(unquote(value));
    return true;
  });
  return found;
}

int digitValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'z') return c - u'a' + 10;
  if (c >= u'A' && c <= u'Z') return c - u'A' + 10;
  return 99;
}

// Integer syntax of the platform's profile reader: wraps like a 32-bit
// unsigned number, so "-5" reads as -5 and overlong numbers wrap.
int parseProfileInteger(WideView text) {
  while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
  bool negative = false;
  if (!text.empty() && (text.front() == u'-' || text.front() == u'+')) {
    negative = text.front() == u'-';
    text.remove_prefix(1);
  }
  unsigned base = 10;
  if (text.size() >= 2 && text[0] == u'0') {
    const char16_t prefix = text[1];
    if (prefix == u'x' || prefix == u'X') base = 16;
    if (prefix == u'o' || prefix == u'O') base = 8;
    if (prefix == u'b' || prefix == u'B') base = 2;
    if (base != 10) text.remove_prefix(2);
  }
  std::uint32_t value = 0;
  for (const char16_t c : text) {
    const int digit = digitValue(c);
    if (digit >= int(base)) break;
    value = value * base + std::uint32_t(digit);
  }
  if (negative) value = 0u - value;
  return static_cast<int>(value);
}

}  // namespace

WideString decodeProfileText(std::string_view bytes) {
  if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
  return utf8ToWide(bytes);
}

WideString profileStringInText(WideView text, WideView section, WideView key, WideView fallback,
                               std::size_t capacity) {
  if (capacity == 0) return {};
  const std::optional<WideString> found = findValue(text, section, key);
  WideString value = found ? *found : WideString(fallback);
  if (value.size() > capacity - 1) value.resize(capacity - 1);
  return value;
}

std::vector<ProfileKey> profileKeysInText(WideView text) {
  std::vector<ProfileKey> keys;
  forEachEntry(text, [&](WideView section, WideView key, WideView) {
    keys.push_back({WideString(section), WideString(key)});
    return false;
  });
  return keys;
}

int profileIntInText(WideView text, WideView section, WideView key, int fallback) {
  const WideString value = profileStringInText(text, section, key, u"", 30);
  if (value.empty()) return fallback;
  return parseProfileInteger(value);
}

}  // namespace ondrel::platform
