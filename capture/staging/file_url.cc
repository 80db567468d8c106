#include "capture/staging/file_url.h"

namespace ondrel {
namespace {

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

bool isUnreserved(unsigned char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
         c == '.' || c == '_' || c == '~';
}

bool isWindowsSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool startsWith(WideView text, WideView start) { return text.substr(0, start.size()) == start; }

bool isDrivePath(WideView path) {
  return path.size() >= 3 && isAsciiLetter(path[0]) && path[1] == u':' &&
         isWindowsSeparator(path[2]);
}

// Appends `path` percent-escaped; separators become "/" (a backslash is one
// only in Windows forms, elsewhere it is part of a name).
void appendEscaped(std::string& url, WideView path, bool windowsForm) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : wideToUtf8(path)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '/' || (windowsForm && c == '\\')) {
      url.push_back('/');
    } else if (isUnreserved(byte)) {
      url.push_back(c);
    } else {
      url += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
    }
  }
}

std::string driveUrl(WideView path) {
  std::string url = "file:///";
  url += char(path[0]);
  url += ':';
  appendEscaped(url, path.substr(2), true);
  return url;
}

// server\share\rest of a UNC name: the server is the URL's host.
std::string uncUrl(WideView serverAndPath) {
  std::string url = "file://";
  appendEscaped(url, serverAndPath, true);
  return url;
}

}  // namespace

std::optional<std::string> fileUrl(WideView path) {
  constexpr WideView kLongUnc = u"\\\\?\\UNC\\";
  if (startsWith(path, kLongUnc)) return uncUrl(path.substr(kLongUnc.size()));
  if (startsWith(path, u"\\\\?\\")) path.remove_prefix(4);
  if (isDrivePath(path)) return driveUrl(path);
  if (startsWith(path, u"\\\\") && path.size() > 2) return uncUrl(path.substr(2));
  if (startsWith(path, u"/")) {
    std::string url = "file://";
    appendEscaped(url, path, false);
    return url;
  }
  return std::nullopt;
}

std::optional<std::string> folderUrl(WideView path) {
  std::optional<std::string> url = fileUrl(path);
  if (!url) return std::nullopt;
  // Every "/" after the scheme's stands for a separator, since the names'
  // own bytes are escaped; a host alone holds no file.
  constexpr std::string_view kScheme = "file://";
  const std::size_t lastSeparator = url->rfind('/');
  if (lastSeparator < kScheme.size()) return std::nullopt;
  url->resize(lastSeparator + 1);
  return url;
}

}  // namespace ondrel
