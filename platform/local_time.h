#ifndef ONDREL_PLATFORM_LOCAL_TIME_H_
#define ONDREL_PLATFORM_LOCAL_TIME_H_

#include <chrono>
#include <string>

namespace ondrel::platform {

// `at` in the machine's local time as "YYYY-MM-DD hh:mm:ss.mmm".
std::string localTimestamp(std::chrono::system_clock::time_point at);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_LOCAL_TIME_H_
