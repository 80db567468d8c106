#ifndef ONDREL_PLATFORM_CHILD_PROCESS_H_
#define ONDREL_PLATFORM_CHILD_PROCESS_H_

#include <cstdint>
#include <optional>

#include "text/wide_text.h"

namespace ondrel::platform {

// The exit code a thread reports while it is still running.
inline constexpr std::uint32_t kStillActive = 259;

// A program started from a command line whose first part, in double quotes,
// names the program. Its handles are closed when the object goes; the program
// itself is not stopped by that.
class ChildProcess {
 public:
  static std::optional<ChildProcess> start(const WideString& commandLine,
                                           const WideString& currentFolder);

  ChildProcess(ChildProcess&& other) noexcept;
  ChildProcess& operator=(ChildProcess&&) = delete;
  ChildProcess(const ChildProcess&) = delete;
  ~ChildProcess();

  // kStillActive while the primary thread runs, then its exit code; nothing
  // when it cannot be asked.
  std::optional<std::uint32_t> primaryThreadExitCode();

  // Ends the program with exit code 0 and waits, without limit, until it has.
  void terminateAndWait();

 private:
  struct Native;
  explicit ChildProcess(Native* native) : native_(native) {}
  Native* native_;
};

void sleepMilliseconds(unsigned milliseconds);

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_CHILD_PROCESS_H_
