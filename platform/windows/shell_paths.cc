#include "platform/shell_paths.h"

#include <shlwapi.h>

#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

// A path copied into a path buffer, or nothing when it does not fit.
bool copyToBuffer(WideView path, wchar_t (&buffer)[kPathCapacity]) {
  if (!fitsPathBuffer(path)) return false;
  std::copy(path.begin(), path.end(), buffer);
  buffer[path.size()] = L'\0';
  return true;
}

}  // namespace

WideView findExtension(WideView path) {
  const WideString copy(path);
  const wchar_t* start = native(copy);
  const wchar_t* extension = PathFindExtensionW(start);
  return path.substr(std::size_t(extension - start));
}

std::optional<WideString> renameExtension(WideView path, WideView extension) {
  wchar_t buffer[kPathCapacity];
  if (!copyToBuffer(path, buffer)) return std::nullopt;
  if (!PathRenameExtensionW(buffer, native(terminated(extension)))) return std::nullopt;
  return fromNative(buffer);
}

WideString stripPath(WideView path) {
  WideString copy(path);
  PathStripPathW(reinterpret_cast<wchar_t*>(copy.data()));
  return fromNative(native(copy));
}

std::optional<WideString> combinePath(WideView folder, WideView name) {
  if (!fitsPathBuffer(folder) || !fitsPathBuffer(name)) return std::nullopt;
  wchar_t buffer[kPathCapacity];
  if (PathCombineW(buffer, native(terminated(folder)), native(terminated(name))) == nullptr) {
    return std::nullopt;
  }
  return fromNative(buffer);
}

bool isRelativePath(WideView path) {
  return !fitsPathBuffer(path) || PathIsRelativeW(native(terminated(path)));
}

bool pathExists(const WideString& path) {
  return fitsPathBuffer(path) && PathFileExistsW(native(path));
}

std::optional<WideString> temporaryFolder() {
  wchar_t buffer[kPathCapacity];
  const DWORD length = GetTempPathW(DWORD(kPathCapacity), buffer);
  if (length == 0 || length >= kPathCapacity) return std::nullopt;
  return fromNative(buffer);
}

bool createDirectory(const WideString& path) { return CreateDirectoryW(native(path), nullptr); }

bool deleteFile(const WideString& path) { return DeleteFileW(native(path)); }

bool removeDirectory(const WideString& path) { return RemoveDirectoryW(native(path)); }

}  // namespace ondrel::platform
