#include "platform/shell_paths.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

namespace ondrel::platform {
namespace {

std::string native(const WideString& path) { return wideToUtf8(path); }

std::size_t finalComponentStart(WideView path) {
  const std::size_t slash = path.rfind(u'/');
  return slash == WideView::npos ? 0 : slash + 1;
}

}  // namespace

WideView findExtension(WideView path) {
  const std::size_t start = finalComponentStart(path);
  const std::size_t dot = path.rfind(u'.');
  if (dot == WideView::npos || dot < start) return path.substr(path.size());
  return path.substr(dot);
}

std::optional<WideString> renameExtension(WideView path, WideView extension) {
  WideString renamed(path.substr(0, path.size() - findExtension(path).size()));
  renamed.append(extension);
  if (!fitsPathBuffer(renamed)) return std::nullopt;
  return renamed;
}

WideString stripPath(WideView path) { return WideString(path.substr(finalComponentStart(path))); }

std::optional<WideString> combinePath(WideView folder, WideView name) {
  WideString combined(folder);
  if (!combined.empty() && combined.back() != u'/') combined.push_back(u'/');
  combined.append(name);
  if (!fitsPathBuffer(combined)) return std::nullopt;
  return combined;
}

bool isRelativePath(WideView path) { return path.empty() || path.front() != u'/'; }

bool pathExists(const WideString& path) {
  struct stat status;
  return !path.empty() && stat(native(path).c_str(), &status) == 0;
}

std::optional<WideString> temporaryFolder() {
  const char* configured = getenv("TMPDIR");
  WideString folder =
      utf8ToWide(configured != nullptr && *configured != '\0' ? configured : "/tmp");
  if (!fitsPathBuffer(folder)) return std::nullopt;
  return folder;
}

bool createDirectory(const WideString& path) { return mkdir(native(path).c_str(), 0700) == 0; }

bool deleteFile(const WideString& path) { return unlink(native(path).c_str()) == 0; }

bool removeDirectory(const WideString& path) { return rmdir(native(path).c_str()) == 0; }

}  // namespace ondrel::platform
