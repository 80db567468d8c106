// A program on a pipe that ended while the helpers it started run on: killing it takes the helpers
// too, also once its own end has been seen and reaped.

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <string>

#include "platform/piped_child.h"
#include "tests/support/process_end.h"
#include "tests/support/scratch_folder.h"

namespace ondrel::platform {
namespace {

using namespace std::chrono_literals;

TEST(PipedChildGroupTest, HelpersOfAReapedProgramAreKilledWithIt) {
  test::ScratchFolder scratch;
  const std::string pidFile = (scratch.path() / "helper.pid").string();
  // The helper outlives the program that started it, as a browser's renderers may.
  const std::string script = "sleep 60 & echo $! > '" + pidFile + "'; exit 0";
  std::optional<PipedChild> child = PipedChild::start(
      u"\"/bin/sh\" -c \"" + utf8ToWide(script) + u"\"", utf8ToWide(scratch.path().string()));
  ASSERT_TRUE(child);
  ASSERT_TRUE(child->waitForEnd(Deadline::after(10s)));

  long helper = 0;
  std::ifstream(pidFile) >> helper;
  ASSERT_GT(helper, 0);
  EXPECT_FALSE(test::processEnds(helper, 200ms)) << "the helper runs on after its program";

  child->kill();
  EXPECT_TRUE(test::processEnds(helper, 5s)) << "the helper was left running";
}

}  // namespace
}  // namespace ondrel::platform
