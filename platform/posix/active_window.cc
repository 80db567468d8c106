#include "platform/active_window.h"

namespace ondrel::platform {

// A process here owns no windows, so a capture size of 0 always falls back.
std::optional<ClientArea> activeWindowClientArea() { return std::nullopt; }

}  // namespace ondrel::platform
