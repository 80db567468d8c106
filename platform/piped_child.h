#ifndef ONDREL_PLATFORM_PIPED_CHILD_H_
#define ONDREL_PLATFORM_PIPED_CHILD_H_

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/child_process.h"
#include "platform/deadline.h"
#include "platform/unique_handle.h"
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
//
// One thread may send while another receives and others ask whether the
// program has ended.
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

  // The program's exit code once it has ended by itself; nothing while it
  // runs or after it was killed.
  std::optional<std::uint32_t> exitCode();

 private:
  // The plug-in's end of a pipe: a descriptor or a handle, as each system has it.
  struct PipeTraits {
    using Native = std::intptr_t;
    static Native invalid();
    static void close(Native native);
  };
  using PipeEnd = UniqueHandle<PipeTraits>;

  // Starts the program with `childEnds` as its descriptors 3 and 4; the
  // plug-in keeps the other ends. Nothing when it cannot be started.
  static std::optional<PipedChild> launch(const WideString& commandLine,
                                          const WideString& currentFolder,
                                          const ChildPipeEnds& childEnds, PipeEnd toChild,
                                          PipeEnd fromChild);
  PipedChild(ChildProcess process, PipeEnd toChild, PipeEnd fromChild);
  bool hasEnded();

  // Guards the process's state, which the pipe's waits look at too; held on
  // the heap so that the object can move.
  std::unique_ptr<std::mutex> processMutex_ = std::make_unique<std::mutex>();
  ChildProcess process_;
  PipeEnd toChild_;    // the child's descriptor 3 reads from it; none once moved from
  PipeEnd fromChild_;  // what the child writes to its descriptor 4
  bool killed_ = false;
};

}  // namespace ondrel::platform

#endif  // ONDREL_PLATFORM_PIPED_CHILD_H_
