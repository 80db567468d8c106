#include "tests/support/resource_usage.h"

#include <unistd.h>

#include <charconv>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tests/support/posix/allocator_bytes_in_use.h"

namespace ondrel::test {
namespace {

namespace fs = std::filesystem;

// The iteration's own descriptor is among them; it is there at every count.
std::int64_t openDescriptors() {
  std::int64_t count = 0;
  for (auto it = fs::directory_iterator("/proc/self/fd"); it != fs::directory_iterator(); ++it) {
    ++count;
  }
  return count;
}

// The parent's process id from /proc/<pid>/stat: "pid (name) state ppid ...";
// the name may hold spaces and parentheses, so reading starts after the last
// ')'. Nothing for a process that ended meanwhile.
std::optional<pid_t> parentOf(const fs::path& processFolder) {
  std::ifstream file(processFolder / "stat");
  std::string stat;
  try {
    stat.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  } catch (const std::ios_base::failure&) {
    // libstdc++ throws when the read fails, as it does (ESRCH) for a
    // process that ends while its file is read.
    return std::nullopt;
  }
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos || nameEnd + 4 >= stat.size()) return std::nullopt;
  // ") S 1234 ..."
  const char* first = stat.data() + nameEnd + 4;
  pid_t parent = 0;
  const auto [stop, error] = std::from_chars(first, stat.data() + stat.size(), parent);
  if (error != std::errc()) return std::nullopt;
  return parent;
}

bool isProcessFolder(const fs::directory_entry& entry) {
  const std::string name = entry.path().filename().string();
  return !name.empty() && name.find_first_not_of("0123456789") == std::string::npos;
}

// A zombie keeps its entry, and its parent, until it is reaped.
std::int64_t childProcesses() {
  const pid_t self = getpid();
  std::int64_t count = 0;
  std::error_code ignored;
  for (const fs::directory_entry& entry : fs::directory_iterator("/proc", ignored)) {
    if (isProcessFolder(entry) && parentOf(entry.path()) == self) ++count;
  }
  return count;
}

}  // namespace

// GDI is Windows' alone.
ResourceUsage measureResourceUsage() {
  return {openDescriptors(), childProcesses(), allocatorBytesInUse(), std::nullopt};
}

}  // namespace ondrel::test
