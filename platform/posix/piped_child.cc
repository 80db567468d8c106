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

void PipedChild::PipeTraits::close(std::intptr_t native) { ::close(int(native)); }
std::intptr_t PipedChild::PipeTraits::invalid() { return -1; }

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
  // The child's ends close here as the copies go; only the child holds them
  // then, so its end shows as the end of the pipe.
  return launch(commandLine, currentFolder, ChildPipeEnds{childRead.get(), childWrite.get()},
                PipeEnd(toChild->writeEnd.release()), PipeEnd(fromChild->readEnd.release()));
}

PipeStatus PipedChild::send(std::string_view bytes, const Deadline& deadline) {
  const SigpipeHeld held;
  while (!bytes.empty()) {
    const ssize_t written = ::write(int(toChild_.get()), bytes.data(), bytes.size());
    if (written > 0) {
      bytes.remove_prefix(std::size_t(written));
      continue;
    }
    if (written < 0 && errno == EPIPE) return PipeStatus::kClosed;
    if (written < 0 && errno != EAGAIN && errno != EINTR) return PipeStatus::kFailed;
    if (pollOnce(int(toChild_.get()), POLLOUT, deadline) < 0) return PipeStatus::kFailed;
    if (hasEnded()) return PipeStatus::kClosed;
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
  }
  return PipeStatus::kDone;
}

PipeStatus PipedChild::receive(std::string& received, const Deadline& deadline) {
  const std::size_t start = received.size();
  for (;;) {
    received.resize(start + kReadChunk);
    const ssize_t got = ::read(int(fromChild_.get()), received.data() + start, kReadChunk);
    const int readError = errno;
    received.resize(start + std::size_t(std::max<ssize_t>(got, 0)));
    if (got > 0) return PipeStatus::kDone;
    if (got == 0) return PipeStatus::kClosed;
    if (readError != EAGAIN && readError != EINTR) return PipeStatus::kFailed;
    const int ready = pollOnce(int(fromChild_.get()), POLLIN, deadline);
    if (ready < 0) return PipeStatus::kFailed;
    if (ready > 0) continue;
    if (hasEnded()) return PipeStatus::kClosed;
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
  }
}

}  // namespace ondrel::platform
