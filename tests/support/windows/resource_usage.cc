#include "tests/support/resource_usage.h"

#include <windows.h>
// After windows.h, which they need.
#include <psapi.h>
#include <tlhelp32.h>

namespace ondrel::test {
namespace {

// Kernel handle values are multiples of four from 4 up; every system hands
// out the lowest free ones first, so a process's handles lie far below this.
constexpr std::uintptr_t kHandleValueLimit = 0x10000;
// Index part of a GDI handle (its low 16 bits).
constexpr std::uintptr_t kGdiIndexLimit = 0x10000;

class Snapshot {
 public:
  Snapshot() : handle_(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0)) {}
  Snapshot(const Snapshot&) = delete;
  Snapshot& operator=(const Snapshot&) = delete;
  ~Snapshot() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

// Wine answers GetProcessHandleCount with 0, so there every plausible handle
// value is asked whether it is one.
std::int64_t kernelHandles() {
  DWORD count = 0;
  if (GetProcessHandleCount(GetCurrentProcess(), &count) && count > 0) return count;
  std::int64_t probed = 0;
  for (std::uintptr_t value = 4; value < kHandleValueLimit; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++probed;
  }
  return probed;
}

// A process that ended is gone from the snapshot even while a handle to it
// is open; such a handle shows among the kernel handles.
std::int64_t childProcesses() {
  const Snapshot snapshot;
  if (snapshot.get() == INVALID_HANDLE_VALUE) return -1;
  const DWORD self = GetCurrentProcessId();
  std::int64_t count = 0;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
       more = Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ParentProcessID == self) ++count;
  }
  return count;
}

// Windows gives the commit charge twice, as private usage and as page file
// usage; wine fills in only the second.
std::int64_t privateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(),
                            reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                            sizeof counters)) {
    return -1;
  }
  if (counters.PrivateUsage > 0) return std::int64_t(counters.PrivateUsage);
  return std::int64_t(counters.PagefileUsage);
}

// Windows counts them; wine answers 0. Wine keeps its GDI handle table in
// the process and takes a handle of index alone, without the upper word, so
// there the objects are found by asking every index for its type.
std::optional<std::int64_t> gdiObjects() {
  if (const DWORD counted = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); counted > 0) {
    return counted;
  }
  std::int64_t probed = 0;
  for (std::uintptr_t index = 1; index < kGdiIndexLimit; ++index) {
    if (GetObjectType(reinterpret_cast<HGDIOBJ>(index)) != 0) ++probed;
  }
  if (probed == 0) return std::nullopt;
  return probed;
}

}  // namespace

ResourceUsage measureResourceUsage() {
  return {kernelHandles(), childProcesses(), privateBytes(), gdiObjects()};
}

}  // namespace ondrel::test
