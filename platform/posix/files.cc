#include "platform/files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/posix/descriptor.h"

namespace ondrel::platform {
namespace {

int openNative(const WideString& path, int flags) {
  int fd;
  do {
    fd = ::open(wideToUtf8(path).c_str(), flags | O_CLOEXEC, 0644);
  } while (fd < 0 && errno == EINTR);
  return fd;
}

// Reads until `count` bytes are in or the file ends, as a file read does on
// the other platform; nothing when a read fails.
std::optional<std::size_t> readFully(int fd, void* buffer, std::size_t count) {
  auto* bytes = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t got = ::read(fd, bytes + done, count - done);
    if (got < 0 && errno == EINTR) continue;
    if (got < 0) return std::nullopt;
    if (got == 0) break;
    done += std::size_t(got);
  }
  return done;
}

}  // namespace

// Files here are never locked against other openers.
std::optional<ReadableFile> ReadableFile::open(const WideString& path, FileSharing) {
  const int fd = openNative(path, O_RDONLY);
  if (fd < 0) return std::nullopt;
  return ReadableFile(fd);
}

std::intptr_t ReadableFile::NativeTraits::invalid() { return -1; }

void ReadableFile::NativeTraits::close(std::intptr_t native) { ::close(int(native)); }

std::optional<std::int64_t> ReadableFile::size() const {
  struct stat status;
  if (fstat(int(native_.get()), &status) != 0) return std::nullopt;
  return std::int64_t(status.st_size);
}

std::optional<std::int64_t> ReadableFile::seek(std::int64_t offset) {
  const off_t position = lseek(int(native_.get()), off_t(offset), SEEK_SET);
  if (position < 0) return std::nullopt;
  return std::int64_t(position);
}

std::optional<std::size_t> ReadableFile::read(void* buffer, std::size_t count) {
  return readFully(int(native_.get()), buffer, count);
}

bool readFromFileHandle(std::uintptr_t handle, void* buffer, std::size_t count) {
  return readFully(int(handle), buffer, count).has_value();
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t written = ::write(fd, bytes.data(), bytes.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes.remove_prefix(std::size_t(written));
  }
  return true;
}

bool writeFileBytes(const WideString& path, std::string_view bytes) {
  const Descriptor file(openNative(path, O_WRONLY | O_CREAT | O_TRUNC));
  return file.valid() && writeAll(file.get(), bytes);
}

}  // namespace ondrel::platform
