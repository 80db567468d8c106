#include "platform/piped_child.h"

#include <algorithm>

namespace ondrel::platform {

// Making the pipes and moving bytes through them is the system's; the
// process and the waiting for it are the same everywhere.

std::optional<PipedChild> PipedChild::launch(const WideString& commandLine,
                                             const WideString& currentFolder,
                                             const ChildPipeEnds& childEnds, PipeEnd toChild,
                                             PipeEnd fromChild) {
  std::optional<ChildProcess> process = ChildProcess::start(commandLine, currentFolder, &childEnds);
  if (!process) return std::nullopt;
  return PipedChild(std::move(*process), std::move(toChild), std::move(fromChild));
}

PipedChild::PipedChild(ChildProcess process, PipeEnd toChild, PipeEnd fromChild)
    : process_(std::move(process)),
      toChild_(std::move(toChild)),
      fromChild_(std::move(fromChild)) {}

PipedChild::PipedChild(PipedChild&& other) noexcept = default;

PipedChild::~PipedChild() {
  if (!toChild_.valid()) return;
  // The plug-in's ends close first, so a child still writing finds the pipe
  // broken rather than full.
  toChild_.reset();
  fromChild_.reset();
  kill();
}

bool PipedChild::waitForEnd(const Deadline& deadline) {
  for (;;) {
    if (hasEnded()) return true;
    if (deadline.hasPassed()) return false;
    sleepMilliseconds(unsigned(std::clamp(deadline.remainingMilliseconds(20), 1, 20)));
  }
}

void PipedChild::kill() {
  const std::lock_guard lock(*processMutex_);
  // One that ended by itself keeps its own exit code.
  const std::optional<ThreadState> state = process_.primaryThreadState();
  if (state && state->isRunning()) killed_ = true;
  process_.terminateAndWait();
}

std::optional<std::uint32_t> PipedChild::exitCode() {
  const std::lock_guard lock(*processMutex_);
  const std::optional<ThreadState> state = process_.primaryThreadState();
  if (killed_ || !state || state->isRunning()) return std::nullopt;
  return state->exitCode();
}

bool PipedChild::hasEnded() {
  const std::lock_guard lock(*processMutex_);
  const std::optional<ThreadState> state = process_.primaryThreadState();
  return !state || !state->isRunning();
}

}  // namespace ondrel::platform
