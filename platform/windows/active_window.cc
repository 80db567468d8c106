#include "platform/active_window.h"

#include <windows.h>

namespace ondrel::platform {

std::optional<ClientArea> activeWindowClientArea() {
  HWND window = GetActiveWindow();
  RECT client{};
  if (window == nullptr || !GetClientRect(window, &client)) return std::nullopt;
  return ClientArea{int(client.right), int(client.bottom)};
}

}  // namespace ondrel::platform
