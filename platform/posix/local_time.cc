#include "platform/local_time.h"

#include <time.h>

#include <cstdio>

namespace ondrel::platform {

std::string localTimestamp(std::chrono::system_clock::time_point at) {
  using namespace std::chrono;
  const time_t seconds = system_clock::to_time_t(
      time_point_cast<system_clock::duration>(floor<std::chrono::seconds>(at)));
  const int milliseconds =
      int(duration_cast<std::chrono::milliseconds>(at - floor<std::chrono::seconds>(at)).count());
  tm local{};
  if (localtime_r(&seconds, &local) == nullptr) return "(no local time)";
  char text[64];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d.%03d", local.tm_year + 1900,
                local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                milliseconds);
  return text;
}

}  // namespace ondrel::platform
