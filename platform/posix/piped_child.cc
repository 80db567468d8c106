#include "platform/piped_child.h"

#include <errno.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

#include "platform/child_process.h"
#include "platform/posix/child_pipe_ends.h"
#include "platform/posix/descriptor.h"

namespace ondrel::platform {

struct PipedChild::Native {
  Native(ChildProcess started, Descriptor toChild, Descriptor fromChild)
      : process(std::move(started)), toChild(std::move(toChild)), fromChild(std::move(fromChild)) {}

  ChildProcess process;
  Descriptor toChild;    // the child's descriptor 3 reads from it
  Descriptor fromChild;  // what the child writes to its descriptor 4
};

namespace {

// How often a wait on the pipe looks whether the child is still there: a
// helper it started may hold the pipe open after the child itself has gone.
constexpr int kLivenessPollMilliseconds = 100;
// A screenshot's message runs to megabytes: it is read in large parts,
// straight into the received bytes.
constexpr std::size_t kReadChunk = 256 * 1024;

struct Pipe {
  Descriptor readEnd;
  Descriptor writeEnd;
};

// Both ends close on exec; the child gets its own copies through the spawn.
std::optional<Pipe> makePipe() {
  int ends[2];
  if (pipe2(ends, O_CLOEXEC) != 0) return std::nullopt;
  return Pipe{Descriptor(ends[0]), Descriptor(ends[1])};
}

// A copy numbered above 4, so that placing the child's ends at 3 and 4
// cannot overwrite one with the other.
Descriptor aboveChildSlots(const Descriptor& fd) {
  return Descriptor(fcntl(fd.get(), F_DUPFD_CLOEXEC, 5));
}

bool makeNonBlocking(const Descriptor& fd) {
  const int flags = fcntl(fd.get(), F_GETFL);
  return flags >= 0 && fcntl(fd.get(), F_SETFL, flags | O_NONBLOCK) == 0;
}

// Keeps a write to a pipe whose reader has gone from raising SIGPIPE, which
// would end the viewer: the signal is blocked on this thread for the write,
// and one the write raised is taken back before it is unblocked.
class SigpipeHeld {
 public:
  SigpipeHeld() {
    sigemptyset(&sigpipe_);
    sigaddset(&sigpipe_, SIGPIPE);
    sigset_t pending;
    sigpending(&pending);
    wasPending_ = sigismember(&pending, SIGPIPE) == 1;
    pthread_sigmask(SIG_BLOCK, &sigpipe_, &previous_);
  }
  SigpipeHeld(const SigpipeHeld&) = delete;
  SigpipeHeld& operator=(const SigpipeHeld&) = delete;
  ~SigpipeHeld() {
    sigset_t pending;
    sigpending(&pending);
    if (!wasPending_ && sigismember(&pending, SIGPIPE) == 1) {
      const timespec none{};
      while (sigtimedwait(&sigpipe_, nullptr, &none) < 0 && errno == EINTR) {
      }
    }
    pthread_sigmask(SIG_SETMASK, &previous_, nullptr);
  }

 private:
  sigset_t sigpipe_;
  sigset_t previous_;
  bool wasPending_ = false;
};

// Waits for `events` on `fd` for at most one liveness poll; the poll result.
int pollOnce(int fd, short events, const Deadline& deadline) {
  pollfd watched{fd, events, 0};
  int result;
  do {
    result = poll(&watched, 1, deadline.remainingMilliseconds(kLivenessPollMilliseconds));
  } while (result < 0 && errno == EINTR);
  return result;
}

bool hasEnded(ChildProcess& process) {
  const std::optional<ThreadState> state = process.primaryThreadState();
  return !state || !state->isRunning();
}

}  // namespace

std::optional<PipedChild> PipedChild::start(const WideString& commandLine,
                                            const WideString& currentFolder) {
  std::optional<Pipe> toChild = makePipe();
  std::optional<Pipe> fromChild = makePipe();
  if (!toChild || !fromChild) return std::nullopt;
  const Descriptor childRead = aboveChildSlots(toChild->readEnd);
  const Descriptor childWrite = aboveChildSlots(fromChild->writeEnd);
  if (!childRead.valid() || !childWrite.valid() || !makeNonBlocking(toChild->writeEnd) ||
      !makeNonBlocking(fromChild->readEnd)) {
    return std::nullopt;
  }
  const ChildPipeEnds ends{childRead.get(), childWrite.get()};
  std::optional<ChildProcess> process = ChildProcess::start(commandLine, currentFolder, &ends);
  if (!process) return std::nullopt;
  // The child's ends are closed here as the descriptors go; only the child
  // holds them now, so its end shows as the end of the pipe.
  return PipedChild(std::make_unique<Native>(std::move(*process), std::move(toChild->writeEnd),
                                             std::move(fromChild->readEnd)));
}

PipedChild::PipedChild(std::unique_ptr<Native> native) : native_(std::move(native)) {}
PipedChild::PipedChild(PipedChild&& other) noexcept = default;

PipedChild::~PipedChild() {
  if (!native_) return;
  native_->toChild.reset();
  native_->fromChild.reset();
  kill();
}

PipeStatus PipedChild::send(std::string_view bytes, const Deadline& deadline) {
  const SigpipeHeld held;
  while (!bytes.empty()) {
    const ssize_t written = ::write(native_->toChild.get(), bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(std::size_t(written));
      continue;
    }
    if (written < 0 && errno == EPIPE) return PipeStatus::kClosed;
    if (written < 0 && errno != EAGAIN && errno != EINTR) return PipeStatus::kFailed;
    if (pollOnce(native_->toChild.get(), POLLOUT, deadline) < 0) return PipeStatus::kFailed;
    if (hasEnded(native_->process)) return PipeStatus::kClosed;
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
  }
  return PipeStatus::kDone;
}

PipeStatus PipedChild::receive(std::string& received, const Deadline& deadline) {
  const std::size_t start = received.size();
  for (;;) {
    received.resize(start + kReadChunk);
    const ssize_t got = ::read(native_->fromChild.get(), received.data() + start, kReadChunk);
    const int readError = errno;
    received.resize(start + std::size_t(std::max<ssize_t>(got, 0)));
    if (got > 0) return PipeStatus::kDone;
    if (got == 0) return PipeStatus::kClosed;
    if (readError != EAGAIN && readError != EINTR) return PipeStatus::kFailed;
    const int ready = pollOnce(native_->fromChild.get(), POLLIN, deadline);
    if (ready < 0) return PipeStatus::kFailed;
    if (ready > 0) continue;
    if (hasEnded(native_->process)) return PipeStatus::kClosed;
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
  }
}

bool PipedChild::waitForEnd(const Deadline& deadline) {
  for (;;) {
    if (hasEnded(native_->process)) return true;
    if (deadline.hasPassed()) return false;
    sleepMilliseconds(unsigned(std::clamp(deadline.remainingMilliseconds(20), 1, 20)));
  }
}

void PipedChild::kill() { native_->process.terminateAndWait(); }

}  // namespace ondrel::platform
