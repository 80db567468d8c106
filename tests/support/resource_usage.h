// What a process holds of the system at one moment, counted the way each
// system allows, so that a long run can show that nothing it makes stays.

#ifndef ONDREL_TESTS_SUPPORT_RESOURCE_USAGE_H_
#define ONDREL_TESTS_SUPPORT_RESOURCE_USAGE_H_

#include <cstdint>
#include <optional>
#include <ostream>

namespace ondrel::test {

struct ResourceUsage {
  // Open descriptors (POSIX) or kernel handles (Windows).
  std::int64_t handles = 0;
  // Processes whose parent is this one; on POSIX ended but unreaped ones too.
  std::int64_t childProcesses = 0;
  // Bytes the allocator has handed out and not taken back (POSIX), or the
  // private bytes committed to the process (Windows).
  std::int64_t memoryBytes = 0;
  // GDI objects on Windows; nothing where they cannot be counted.
  std::optional<std::int64_t> gdiObjects;
};

ResourceUsage measureResourceUsage();

std::ostream& operator<<(std::ostream& out, const ResourceUsage& usage);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_RESOURCE_USAGE_H_
