#include "platform/files.h"

#include <algorithm>

#include "platform/windows/kernel_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {
namespace {

HANDLE handleOf(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

// ReadFile takes at most a DWORD at a time; larger reads go in pieces.
std::optional<std::size_t> readFully(HANDLE file, void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const DWORD piece = DWORD(std::min<std::size_t>(count - done, 1u << 30));
    DWORD got = 0;
    if (!ReadFile(file, bytes + done, piece, &got, nullptr)) return std::nullopt;
    done += got;
    if (got < piece) break;
  }
  return done;
}

}  // namespace

std::optional<ReadableFile> ReadableFile::open(const WideString& path, FileSharing sharing) {
  const DWORD share =
      sharing == FileSharing::kOthersRead ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_WRITE;
  HANDLE file = CreateFileW(native(path), GENERIC_READ, share, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return std::nullopt;
  return ReadableFile(reinterpret_cast<std::intptr_t>(file));
}

// A handle moved away from is 0; a failed open is never kept.
std::intptr_t ReadableFile::NativeTraits::invalid() { return 0; }

void ReadableFile::NativeTraits::close(std::intptr_t native) { CloseHandle(handleOf(native)); }

std::optional<std::int64_t> ReadableFile::size() const {
  LARGE_INTEGER size;
  if (!GetFileSizeEx(handleOf(native_.get()), &size)) return std::nullopt;
  return std::int64_t(size.QuadPart);
}

std::optional<std::int64_t> ReadableFile::seek(std::int64_t offset) {
  LARGE_INTEGER distance;
  LARGE_INTEGER position;
  distance.QuadPart = offset;
  if (!SetFilePointerEx(handleOf(native_.get()), distance, &position, FILE_BEGIN))
    return std::nullopt;
  return std::int64_t(position.QuadPart);
}

std::optional<std::size_t> ReadableFile::read(void* buffer, std::size_t count) {
  return readFully(handleOf(native_.get()), buffer, count);
}

bool readFromFileHandle(std::uintptr_t handle, void* buffer, std::size_t count) {
  return readFully(reinterpret_cast<HANDLE>(handle), buffer, count).has_value();
}

bool writeFileBytes(const WideString& path, std::string_view bytes) {
  const KernelHandle file(CreateFileW(native(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  while (!bytes.empty()) {
    const DWORD piece = DWORD(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file.get(), bytes.data(), piece, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

}  // namespace ondrel::platform
