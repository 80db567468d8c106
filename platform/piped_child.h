#ifndef ONDREL_PLATFORM_PIPED_CHILD_H_
#define ONDREL_PLATFORM_PIPED_CHILD_H_

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/deadline.h"
#include "text/wide_text.h"

namespace ondrel::platform {

// What a transfer over the pipe came to.
enum class PipeStatus {
  kDone,      // everything sent, or something received
  kTimedOut,  // the deadline passed first
  kClosed,    // the child closed its end or ended
  kFailed,
};

// A program started with a pipe in each direction, the way browsers take a
// remote-debugging pipe: it reads what `send` writes from its descriptor 3
// and writes what `receive` reads to its descriptor 4 (C-runtime descriptors
// on Windows). It inherits nothing else of the host's.
//
// A program still running when the object goes is killed and waited for:
// whoever holds one never leaves a process behind.
class PipedChild {
 public:
  // Starts the program named by the first, double-quoted part of
  // `commandLine`, in `currentFolder`. Nothing when it cannot be started.
  static std::optional<PipedChild> start(const WideString& commandLine,
                                         const WideString& currentFolder);

  PipedChild(PipedChild&& other) noexcept;
  PipedChild& operator=(PipedChild&&) = delete;
  PipedChild(const PipedChild&) = delete;
  ~PipedChild();

  // Writes all of `bytes` before the deadline.
  PipeStatus send(std::string_view bytes, const Deadline& deadline);

  // Appends to `received` whatever the program has written, waiting until
  // something comes, the deadline passes, or the program closes its end or
  // ends.
  PipeStatus receive(std::string& received, const Deadline& deadline);

  // Whether the program has ended; waits for that until the deadline.
  bool waitForEnd(const Deadline& deadline);

  // Kills the program, and the helpers it started where the system allows,
  // and waits until it has ended.
  void kill();

  struct Native;

 private:
  explicit PipedChild(std::unique_ptr<Native> native);
  std::unique_ptr<Native> native_;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PIPED_CHILD_H_
