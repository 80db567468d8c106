#include "platform/child_process.h"

#include <errno.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/posix/child_pipe_ends.h"
#include "text/command_line.h"

namespace ondrel::platform {

// The started program's id, and how it ended once it has been reaped. A
// program not yet reaped is looked at once more when the object goes, so that
// it leaves no zombie behind if it has ended by then.
struct ChildProcess::Native {
  explicit Native(pid_t started) : pid(started) {}
  Native(const Native&) = delete;
  Native& operator=(const Native&) = delete;
  ~Native() {
    if (!state.has_value()) waitpid(pid, nullptr, WNOHANG);
  }

  pid_t pid;
  std::optional<ThreadState> state;  // once reaped
};

namespace {

// posix_spawn's option records, released on every path.
class SpawnOptions {
 public:
  SpawnOptions() {
    posix_spawn_file_actions_init(&actions_);
    posix_spawnattr_init(&attributes_);
  }
  SpawnOptions(const SpawnOptions&) = delete;
  SpawnOptions& operator=(const SpawnOptions&) = delete;
  ~SpawnOptions() {
    posix_spawnattr_destroy(&attributes_);
    posix_spawn_file_actions_destroy(&actions_);
  }

  // The child runs in `folder`, in a process group of its own (so that a
  // time-out can end the helpers it starts too), with default signal handling,
  // no standard streams and none of the host's other descriptors but the
  // pipe ends, when given, as 3 and 4.
  bool prepare(const std::string& folder, const ChildPipeEnds* pipeEnds) {
    sigset_t none;
    sigset_t all;
    sigemptyset(&none);
    sigfillset(&all);
    return posix_spawn_file_actions_addchdir_np(&actions_, folder.c_str()) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 0, "/dev/null", O_RDONLY, 0) == 0 &&
           posix_spawn_file_actions_addopen(&actions_, 1, "/dev/null", O_WRONLY, 0) == 0 &&
           posix_spawn_file_actions_adddup2(&actions_, 1, 2) == 0 && placePipeEnds(pipeEnds) &&
           posix_spawn_file_actions_addclosefrom_np(&actions_, pipeEnds ? 5 : 3) == 0 &&
           posix_spawnattr_setpgroup(&attributes_, 0) == 0 &&
           posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
           posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
           posix_spawnattr_setflags(&attributes_, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK |
                                                      POSIX_SPAWN_SETSIGDEF) == 0;
  }

  const posix_spawn_file_actions_t* actions() const { return &actions_; }
  const posix_spawnattr_t* attributes() const { return &attributes_; }

 private:
  bool placePipeEnds(const ChildPipeEnds* pipeEnds) {
    return pipeEnds == nullptr ||
           (posix_spawn_file_actions_adddup2(&actions_, pipeEnds->readEnd, 3) == 0 &&
            posix_spawn_file_actions_adddup2(&actions_, pipeEnds->writeEnd, 4) == 0);
  }

  posix_spawn_file_actions_t actions_;
  posix_spawnattr_t attributes_;
};

std::uint32_t exitCodeOf(int status) {
  if (WIFEXITED(status)) return std::uint32_t(WEXITSTATUS(status));
  return 128u + std::uint32_t(WTERMSIG(status));
}

}  // namespace

std::optional<ChildProcess> ChildProcess::start(const WideString& commandLine,
                                                const WideString& currentFolder,
                                                const ChildPipeEnds* pipeEnds) {
  std::vector<std::string> arguments;
  for (const WideString& argument : splitCommandLine(commandLine)) {
    arguments.push_back(wideToUtf8(argument));
  }
  if (arguments.empty() || arguments.front().empty()) return std::nullopt;
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);

  SpawnOptions options;
  if (!options.prepare(wideToUtf8(currentFolder), pipeEnds)) return std::nullopt;
  pid_t pid;
  if (posix_spawn(&pid, argv[0], options.actions(), options.attributes(), argv.data(), environ) !=
      0) {
    return std::nullopt;
  }
  return ChildProcess(std::make_unique<Native>(pid));
}

ChildProcess::ChildProcess(std::unique_ptr<Native> native) : native_(std::move(native)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;
ChildProcess::~ChildProcess() = default;

std::optional<ThreadState> ChildProcess::primaryThreadState() {
  if (native_->state) return native_->state;
  int status = 0;
  pid_t result;
  do {
    result = waitpid(native_->pid, &status, WNOHANG);
  } while (result < 0 && errno == EINTR);
  if (result < 0) return std::nullopt;
  if (result == 0) return ThreadState::running();
  native_->state = ThreadState::ended(exitCodeOf(status));
  return native_->state;
}

void ChildProcess::terminateAndWait() {
  // The helpers it started may outlive it in its group, also once it has
  // been reaped; the group's id stays theirs for as long as one of them runs.
  kill(-native_->pid, SIGKILL);
  if (native_->state) return;
  kill(native_->pid, SIGKILL);
  int status = 0;
  while (waitpid(native_->pid, &status, 0) < 0 && errno == EINTR) {
  }
  native_->state = ThreadState::ended(0);
}

void sleepMilliseconds(unsigned milliseconds) {
  timespec remaining{time_t(milliseconds / 1000), long(milliseconds % 1000) * 1000000L};
  while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
  }
}

}  // namespace ondrel::platform
