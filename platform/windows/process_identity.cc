#include "platform/process_identity.h"

#include "platform/windows/kernel_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {

std::uint64_t currentProcessId() { return GetCurrentProcessId(); }

std::uint64_t currentThreadId() { return GetCurrentThreadId(); }

bool runsFullyElevated() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token)) return false;
  const KernelHandle owned(token);
  TOKEN_ELEVATION_TYPE type{};
  DWORD size = 0;
  if (!GetTokenInformation(token, TokenElevationType, &type, sizeof type, &size)) return false;
  return type == TokenElevationTypeFull;
}

}  // namespace ondrel::platform
