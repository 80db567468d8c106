#ifndef ONDREL_PLATFORM_ACTIVE_WINDOW_H_
#define ONDREL_PLATFORM_ACTIVE_WINDOW_H_

#include <optional>

namespace ondrel::platform {

struct ClientArea {
  int width = 0;
  int height = 0;
};

// Client area of the calling thread's active window, or nothing when the
// thread has none or it cannot be measured.
std::optional<ClientArea> activeWindowClientArea();

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_ACTIVE_WINDOW_H_
