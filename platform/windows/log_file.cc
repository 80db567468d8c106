#include "platform/log_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/windows/kernel_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

KernelHandle openLog(const WideString& path, DWORD access) {
  return KernelHandle(CreateFileW(native(path), access,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// Appending only makes every write land at the end, whoever else appends.
// Renaming the open file needs the right to delete it; a log the user may
// append to but not delete is still written, and never renamed.
KernelHandle openLog(const WideString& path) {
  KernelHandle log = openLog(path, FILE_APPEND_DATA | DELETE);
  if (!log.valid() && GetLastError() == ERROR_ACCESS_DENIED) log = openLog(path, FILE_APPEND_DATA);
  return log;
}

// Renames the very file that is open, not whatever its name stands for by
// now: another viewer may have begun a new log meanwhile.
bool renameOpenFile(HANDLE file, const WideString& newName) {
  const DWORD nameBytes = DWORD(newName.size() * sizeof(wchar_t));
  std::vector<std::uint8_t> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
  auto* info = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
  info->ReplaceIfExists = TRUE;
  info->RootDirectory = nullptr;
  info->FileNameLength = nameBytes;
  std::memcpy(info->FileName, newName.data(), nameBytes);
  return SetFileInformationByHandle(file, FileRenameInfo, info, DWORD(buffer.size())) != 0;
}

bool writeAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD part = DWORD(std::min<std::size_t>(bytes.size(), 1u << 20));
    if (!WriteFile(file, bytes.data(), part, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace

bool appendToLog(const WideString& path, std::string_view lines, std::uint64_t rotateAbove) {
  KernelHandle log = openLog(path);
  LARGE_INTEGER size{};
  if (!log.valid() || !GetFileSizeEx(log.get(), &size)) return false;
  if (std::uint64_t(size.QuadPart) >= rotateAbove) {
    renameOpenFile(log.get(), path + u".1");
    log = openLog(path);
    if (!log.valid()) return false;
  }
  return writeAll(log.get(), lines);
}

}  // namespace ondrel::platform
