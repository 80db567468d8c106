#include "tests/support/environment.h"

#include <stdlib.h>

#include <string>

namespace ondrel::test {

bool unsetEnvironmentVariable(std::string_view name) {
  return unsetenv(std::string(name).c_str()) == 0;
}

}  // namespace ondrel::test
