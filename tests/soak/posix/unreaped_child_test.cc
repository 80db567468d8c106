// A child that ended but was not waited for keeps its process entry: the
// soak test must count it, or a missing wait would pass unseen.

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include "tests/support/resource_usage.h"

namespace ondrel::test {
namespace {

TEST(ResourceUsagePosix, AnEndedChildIsCountedUntilItIsReaped) {
  const ResourceUsage before = measureResourceUsage();
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) _exit(0);
  // Waits for the end without reaping: the child stays a zombie.
  siginfo_t info{};
  ASSERT_EQ(waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);
  EXPECT_EQ(measureResourceUsage().childProcesses, before.childProcesses + 1);
  ASSERT_EQ(waitpid(child, nullptr, 0), child);
  EXPECT_EQ(measureResourceUsage().childProcesses, before.childProcesses);
}

}  // namespace
}  // namespace ondrel::test
