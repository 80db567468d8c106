#include "tests/support/environment.h"

#include <windows.h>

#include "text/wide_text.h"

namespace ondrel::test {

bool unsetEnvironmentVariable(std::string_view name) {
  const WideString wideName = utf8ToWide(name);
  return SetEnvironmentVariableW(reinterpret_cast<const wchar_t*>(wideName.c_str()), nullptr);
}

}  // namespace ondrel::test
