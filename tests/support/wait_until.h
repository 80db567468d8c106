// Waiting in tests for what a browser does in its own time: a killed browser's processes and
// files take a moment to go.
#ifndef ONDREL_TESTS_SUPPORT_WAIT_UNTIL_H_
#define ONDREL_TESTS_SUPPORT_WAIT_UNTIL_H_

#include <chrono>
#include <thread>

namespace ondrel::test {

// Looks every `poll` whether `done` holds, for at most `limit`; whether it came to hold.
template <typename Condition>
bool waitUntil(Condition done, std::chrono::milliseconds limit,
               std::chrono::milliseconds poll = std::chrono::milliseconds(100)) {
  const auto until = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() >= until) return false;
    std::this_thread::sleep_for(poll);
  }
  return true;
}

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_WAIT_UNTIL_H_
