// How long the capture waits for the browser, counted in sleeps.

#include "capture/screenshot_switch/browser_wait.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/child_process.h"

namespace ondrel {
namespace {

struct WaitRun {
  BrowserWait outcome;
  int sleeps;
};

using States = std::vector<std::optional<platform::ThreadState>>;

constexpr platform::ThreadState kRunning = platform::ThreadState::running();

constexpr platform::ThreadState endedWith(std::uint32_t exitCode) {
  return platform::ThreadState::ended(exitCode);
}

// A browser that runs for `lookups` looks at it and then has ended.
States runningThenEnded(std::size_t lookups) {
  States states(lookups, kRunning);
  states.push_back(endedWith(0));
  return states;
}

// Waits on a browser whose primary thread reads as `states` in turn (the last
// one repeating); a missing value is a state that cannot be read.
WaitRun waitOn(States states, std::int32_t waitSeconds) {
  std::size_t next = 0;
  int sleeps = 0;
  const BrowserWait outcome = waitForBrowser(
      [&] { return states[std::min(next++, states.size() - 1)]; }, [&] { ++sleeps; }, waitSeconds);
  return {outcome, sleeps};
}

TEST(BrowserWait, AHangingBrowserIsGivenUpAfterTheSleepsItsLimitAllows) {
  // Elapsed time grows by 0.1 in double precision, which reaches 5.0 only
  // after the 51st sleep.
  const std::pair<std::int32_t, int> limits[] = {{1, 11},   {2, 20},   {3, 30}, {5, 51},  {10, 101},
                                                 {30, 300}, {60, 600}, {-1, 1}, {-100, 1}};
  for (const auto& [seconds, sleeps] : limits) {
    const WaitRun run = waitOn({kRunning}, seconds);
    EXPECT_EQ(run.outcome, BrowserWait::kTimedOut) << seconds;
    EXPECT_EQ(run.sleeps, sleeps) << seconds;
  }
}

TEST(BrowserWait, AnEndedBrowserStillCostsTheSleepOfItsLastLook) {
  const WaitRun immediate = waitOn({endedWith(0)}, 5);
  EXPECT_EQ(immediate.outcome, BrowserWait::kEnded);
  EXPECT_EQ(immediate.sleeps, 1);

  const WaitRun later = waitOn({kRunning, kRunning, endedWith(3)}, 5);
  EXPECT_EQ(later.outcome, BrowserWait::kEnded);
  EXPECT_EQ(later.sleeps, 3);
}

TEST(BrowserWait, TheLimitIsLookedAtBeforeTheExitCode) {
  // The browser ends during the sleep that reaches the limit: still a time-out.
  const WaitRun run = waitOn(runningThenEnded(10), 1);
  EXPECT_EQ(run.outcome, BrowserWait::kTimedOut);
  EXPECT_EQ(run.sleeps, 11);
}

TEST(BrowserWait, NoLimitWaitsUntilTheEnd) {
  const WaitRun run = waitOn(runningThenEnded(1000), 0);
  EXPECT_EQ(run.outcome, BrowserWait::kEnded);
  EXPECT_EQ(run.sleeps, 1001);
}

TEST(BrowserWait, AnUnreadableExitCodeEndsTheWaitAtOnce) {
  const WaitRun run = waitOn({kRunning, std::nullopt}, 5);
  EXPECT_EQ(run.outcome, BrowserWait::kEnded);
  EXPECT_EQ(run.sleeps, 1);
}

}  // namespace
}  // namespace ondrel
