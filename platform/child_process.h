#ifndef ONDREL_PLATFORM_CHILD_PROCESS_H_
#define ONDREL_PLATFORM_CHILD_PROCESS_H_

#include <cstdint>
#include <memory>
#include <optional>

#include "text/wide_text.h"

namespace ondrel::platform {

// A thread as last looked at: still running, or ended with an exit code.
class ThreadState {
 public:
  static constexpr ThreadState running() { return ThreadState(true, 0); }
  static constexpr ThreadState ended(std::uint32_t exitCode) {
    return ThreadState(false, exitCode);
  }

  constexpr bool isRunning() const { return running_; }
  // Meaningful once the thread has ended.
  constexpr std::uint32_t exitCode() const { return exitCode_; }

  bool operator==(const ThreadState&) const = default;

 private:
  constexpr ThreadState(bool running, std::uint32_t exitCode)
      : running_(running), exitCode_(exitCode) {}

  bool running_;
  std::uint32_t exitCode_;
};

// The child's ends of a protocol pipe, which it gets as its descriptors 3
// (it reads) and 4 (it writes) and nothing else besides; each platform
// defines it (see platform/piped_child.h).
struct ChildPipeEnds;

// A program started from a command line whose first part, in double quotes,
// names the program. Its handles are closed when the object goes; the program
// itself is not stopped by that, except on Windows for a program started
// with pipe ends: it runs in a job of its own that takes it and its helpers
// down when the object, or the viewer, goes.
class ChildProcess {
 public:
  static std::optional<ChildProcess> start(const WideString& commandLine,
                                           const WideString& currentFolder,
                                           const ChildPipeEnds* pipeEnds = nullptr);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ~ChildProcess();

  // Whether the primary thread still runs, or its exit code once it has
  // ended; nothing when it cannot be asked.
  std::optional<ThreadState> primaryThreadState();

  // Ends the program with exit code 0 and waits, without limit, until it has.
  void terminateAndWait();

 private:
  struct Native;
  explicit ChildProcess(std::unique_ptr<Native> native);
  std::unique_ptr<Native> native_;
};

void sleepMilliseconds(unsigned milliseconds);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_CHILD_PROCESS_H_
