#include "platform/log_file.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "platform/posix/descriptor.h"

namespace ondrel::platform {
namespace {

// Not blocking on open keeps a planted named pipe from stalling the call.
Descriptor openLog(const std::string& path) {
  return Descriptor(::open(
      path.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600));
}

bool isOwnPlainFile(const Descriptor& log, struct stat& status) {
  return log.valid() && fstat(log.get(), &status) == 0 && S_ISREG(status.st_mode) &&
         status.st_uid == geteuid();
}

// Renames the log only while its name still stands for the file opened:
// another viewer may have begun a new one meanwhile.
void rotate(const std::string& path, const struct stat& opened) {
  struct stat named;
  if (lstat(path.c_str(), &named) == 0 && named.st_dev == opened.st_dev &&
      named.st_ino == opened.st_ino) {
    ::rename(path.c_str(), (path + ".1").c_str());
  }
}

}  // namespace

bool appendToLog(const WideString& path, std::string_view lines, std::uint64_t rotateAbove) {
  const std::string name = wideToUtf8(path);
  Descriptor log = openLog(name);
  struct stat status;
  if (!isOwnPlainFile(log, status)) return false;
  if (std::uint64_t(status.st_size) >= rotateAbove) {
    rotate(name, status);
    log = openLog(name);
    if (!isOwnPlainFile(log, status)) return false;
  }
  return writeAll(log.get(), lines);
}

}  // namespace ondrel::platform
