// Whether a process that is not the test's child has ended, such as a browser whose host the
// test killed; and ending one, as a test's last resort against a call that does not return.
#ifndef ONDREL_TESTS_SUPPORT_PROCESS_END_H_
#define ONDREL_TESTS_SUPPORT_PROCESS_END_H_

#include <chrono>

namespace ondrel::test {

// True once the process `pid` no longer runs (a zombie nobody reaps counts as ended), waiting
// for that at most `within`.
bool processEnds(long pid, std::chrono::milliseconds within);

// Kills the process `pid` without asking it; whoever waits on it sees it end.
void killProcess(long pid);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_PROCESS_END_H_
