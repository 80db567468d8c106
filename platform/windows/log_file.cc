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
// Reading is what a lock on the file needs; renaming the open file needs the
// right to delete it. A log the user may only append to is still written.
KernelHandle openLog(const WideString& path) {
  constexpr DWORD kAccesses[] = {FILE_APPEND_DATA | FILE_READ_DATA | DELETE,
                                 FILE_APPEND_DATA | FILE_READ_DATA, FILE_APPEND_DATA};
  for (const DWORD access : kAccesses) {
    KernelHandle log = openLog(path, access);
    if (log.valid() || GetLastError() != ERROR_ACCESS_DENIED) return log;
  }
  return KernelHandle();
}

// Writers of one log take turns through a lock on its last possible byte,
// which no write ever reaches: appends through two handles at once can land
// on the same end (wine emulates the append), and a turn lasts microseconds.
// A turn not had soon is done without, rather than waited for.
class WritersTurn {
 public:
  explicit WritersTurn(HANDLE log) : log_(log) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      OVERLAPPED at = lockedByte();
      held_ = LockFileEx(log_, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &at);
      if (held_ || GetLastError() != ERROR_LOCK_VIOLATION) return;
      Sleep(1);
    }
  }
  WritersTurn(const WritersTurn&) = delete;
  WritersTurn& operator=(const WritersTurn&) = delete;
  ~WritersTurn() {
    if (!held_) return;
    OVERLAPPED at = lockedByte();
    UnlockFileEx(log_, 0, 1, 0, &at);
  }

 private:
  static constexpr int kAttempts = 20;
  static OVERLAPPED lockedByte() {
    OVERLAPPED at{};
    at.Offset = 0xFFFFFFFEu;
    at.OffsetHigh = 0x7FFFFFFFu;
    return at;
  }

  HANDLE log_;
  bool held_ = false;
};

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
  if (!log.valid()) return false;
  {
    const WritersTurn turn(log.get());
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(log.get(), &size)) return false;
    if (std::uint64_t(size.QuadPart) < rotateAbove) return writeAll(log.get(), lines);
    renameOpenFile(log.get(), path + u".1");
  }
  log = openLog(path);
  if (!log.valid()) return false;
  const WritersTurn turn(log.get());
  return writeAll(log.get(), lines);
}

}  // namespace ondrel::platform
