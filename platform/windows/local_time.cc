#include "platform/local_time.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

namespace ondrel::platform {

std::string localTimestamp(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  // FILETIME counts 100 ns from 1601, the system clock from 1970.
  constexpr std::uint64_t kFrom1601To1970 = 116444736000000000ull;
  const std::uint64_t ticks =
      kFrom1601To1970 +
      std::uint64_t(duration_cast<nanoseconds>(at.time_since_epoch()).count() / 100);
  const FILETIME utcFile{DWORD(ticks), DWORD(ticks >> 32)};
  SYSTEMTIME utc;
  SYSTEMTIME local;
  if (!FileTimeToSystemTime(&utcFile, &utc) ||
      !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) {
    return "(no local time)";
  }
  char text[64];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", local.wYear, local.wMonth,
                local.wDay, local.wHour, local.wMinute, local.wSecond, local.wMilliseconds);
  return text;
}

}  // namespace ondrel::platform
