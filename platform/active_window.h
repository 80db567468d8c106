#pragma once

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
