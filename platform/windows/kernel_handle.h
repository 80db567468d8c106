#ifndef ONDREL_PLATFORM_WINDOWS_KERNEL_HANDLE_H_
#define ONDREL_PLATFORM_WINDOWS_KERNEL_HANDLE_H_

#include <windows.h>

#include "platform/unique_handle.h"

namespace ondrel::platform {

// Kernel handles: some calls fail with a null handle, others with
// INVALID_HANDLE_VALUE, so neither is closed.
struct KernelHandleTraits {
  using Native = HANDLE;
  static Native invalid() { return nullptr; }
  static bool isValid(Native handle) { return handle != nullptr && handle != INVALID_HANDLE_VALUE; }
  static void close(Native handle) { CloseHandle(handle); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_WINDOWS_KERNEL_HANDLE_H_
