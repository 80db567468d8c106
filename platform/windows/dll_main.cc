#include <windows.h>

#include "platform/module_path.h"

// Records the module handle, which later locates the settings file beside the
// module. Every notification succeeds; nothing is set up or torn down.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD, LPVOID) {
  ondrel::platform::recordModuleHandle(instance);
  return TRUE;
}
