#ifndef ONDREL_TESTS_SUPPORT_ENVIRONMENT_H_
#define ONDREL_TESTS_SUPPORT_ENVIRONMENT_H_

#include <string_view>

namespace ondrel::test {

// Takes a variable out of the process's environment. The tests take the
// user's runtime folder away so that captures go to a temporary folder they
// can watch.
bool unsetEnvironmentVariable(std::string_view name);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_ENVIRONMENT_H_
