// How long the capture waits for the browser, counted in sleeps.

#include "capture/browser_wait.h"

#include <gtest/gtest.h>

#include <vector>

#include "platform/child_process.h"

namespace ondrel {
namespace {

struct WaitRun {
  BrowserWait outcome;
  int sleeps;
};

// Waits on a browser whose exit code reads as `codes` in turn (the last one
// repeating); a missing value is an exit code that cannot be read.
WaitRun waitOn(std::vector<std::optional<std::uint32_t>> codes, std::int32_t waitSeconds) {
  std::size_t next = 0;
  int sleeps = 0;
  const BrowserWait outcome = waitForBrowser(
      [&] { return codes[std::min(next++, codes.size() - 1)]; }, [&] { ++sleeps; }, waitSeconds);
  return {outcome, sleeps};
}

TEST(BrowserWait, AHangingBrowserIsGivenUpAfterTheSleepsItsLimitAllows) {
  // Elapsed time grows by 0.1 in double precision, which reaches 5.0 only
  // after the 51st sleep.
  const std::pair<std::int32_t, int> limits[] = {{1, 11},   {2, 20},   {3, 30}, {5, 51},  {10, 101},
                                                 {30, 300}, {60, 600}, {-1, 1}, {-100, 1}};
  for (const auto& [seconds, sleeps] : limits) {
    const WaitRun run = waitOn({platform::kStillActive}, seconds);
    EXPECT_EQ(run.outcome, BrowserWait::kTimedOut) << seconds;
    EXPECT_EQ(run.sleeps, sleeps) << seconds;
  }
}

TEST(BrowserWait, AnEndedBrowserStillCostsTheSleepOfItsLastLook) {
  const WaitRun immediate = waitOn({0}, 5);
  EXPECT_EQ(immediate.outcome, BrowserWait::kEnded);
  EXPECT_EQ(immediate.sleeps, 1);

  const WaitRun later = waitOn({platform::kStillActive, platform::kStillActive, 3}, 5);
  EXPECT_EQ(later.outcome, BrowserWait::kEnded);
  EXPECT_EQ(later.sleeps, 3);
}

TEST(BrowserWait, TheLimitIsLookedAtBeforeTheExitCode) {
  // The browser ends during the sleep that reaches the limit: still a time-out.
  std::vector<std::optional<std::uint32_t>> codes(10, platform::kStillActive);
  codes.push_back(0);
  const WaitRun run = waitOn(codes, 1);
  EXPECT_EQ(run.outcome, BrowserWait::kTimedOut);
  EXPECT_EQ(run.sleeps, 11);
}

TEST(BrowserWait, NoLimitWaitsUntilTheEnd) {
  std::vector<std::optional<std::uint32_t>> codes(1000, platform::kStillActive);
  codes.push_back(0);
  const WaitRun run = waitOn(codes, 0);
  EXPECT_EQ(run.outcome, BrowserWait::kEnded);
  EXPECT_EQ(run.sleeps, 1001);
}

TEST(BrowserWait, AnUnreadableExitCodeEndsTheWaitAtOnce) {
  const WaitRun run = waitOn({platform::kStillActive, std::nullopt}, 5);
  EXPECT_EQ(run.outcome, BrowserWait::kEnded);
  EXPECT_EQ(run.sleeps, 1);
}

}  // namespace
}  // namespace ondrel
