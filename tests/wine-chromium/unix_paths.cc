#include "tests/wine-chromium/unix_paths.h"

#include <windows.h>

namespace ondrel::wine_chromium {
namespace {

// wine's kernel32 exports both conversions; what they return comes from the
// process heap. A real Windows has neither, and the stand-in means nothing there.
using ToUnixName = char*(CDECL*)(const wchar_t*);
using ToWindowsName = wchar_t*(CDECL*)(const char*);

template <typename Function>
Function wineExport(const char* name) {
  const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(kernel, name)));
}

template <typename Text>
struct HeapText {
  Text* text;
  ~HeapText() {
    if (text != nullptr) HeapFree(GetProcessHeap(), 0, text);
  }
};

}  // namespace

std::optional<std::string> unixPathOf(WideView windowsPath) {
  static const ToUnixName toUnix = wineExport<ToUnixName>("wine_get_unix_file_name");
  if (toUnix == nullptr || windowsPath.empty()) return std::nullopt;
  const WideString terminated(windowsPath);
  const HeapText<char> name{toUnix(reinterpret_cast<const wchar_t*>(terminated.c_str()))};
  if (name.text == nullptr) return std::nullopt;
  return std::string(name.text);
}

std::optional<WideString> windowsPathOf(std::string_view unixPath) {
  static const ToWindowsName toWindows = wineExport<ToWindowsName>("wine_get_dos_file_name");
  if (toWindows == nullptr || unixPath.empty()) return std::nullopt;
  const std::string terminated(unixPath);
  const HeapText<wchar_t> name{toWindows(terminated.c_str())};
  if (name.text == nullptr) return std::nullopt;
  return WideString(reinterpret_cast<const char16_t*>(name.text));
}

}  // namespace ondrel::wine_chromium
