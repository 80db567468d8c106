#include "platform/piped_child.h"

#include <algorithm>

#include "platform/child_process.h"
#include "platform/windows/child_pipe_ends.h"
#include "platform/windows/kernel_handle.h"

namespace ondrel::platform {

namespace {

HANDLE handleOf(std::intptr_t native) { return reinterpret_cast<HANDLE>(native); }

// Anonymous pipes know no waiting with a time limit, so a wait looks for
// data this often. The protocol's messages are few, so this costs little.
constexpr unsigned kPollMilliseconds = 5;
// Room for every message the plug-in sends in a picture, so that a browser
// that stops reading cannot block a write past the deadline.
constexpr DWORD kPipeBuffer = 1 << 20;
constexpr DWORD kReadChunk = 64 * 1024;

struct Pipe {
  KernelHandle readEnd;
  KernelHandle writeEnd;
};

std::optional<Pipe> makePipe() {
  HANDLE readEnd = nullptr;
  HANDLE writeEnd = nullptr;
  if (!CreatePipe(&readEnd, &writeEnd, nullptr, kPipeBuffer)) return std::nullopt;
  return Pipe{KernelHandle(readEnd), KernelHandle(writeEnd)};
}

// Only the child's ends may be inherited, and only while it is started: a
// process that the viewer starts in the meantime gets none of them.
bool makeInheritable(const KernelHandle& handle) {
  return SetHandleInformation(handle.get(), HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT) != 0;
}

}  // namespace

void PipedChild::PipeTraits::close(std::intptr_t native) { CloseHandle(handleOf(native)); }
std::intptr_t PipedChild::PipeTraits::invalid() { return 0; }

std::optional<PipedChild> PipedChild::start(const WideString& commandLine,
                                            const WideString& currentFolder) {
  std::optional<Pipe> toChild = makePipe();
  std::optional<Pipe> fromChild = makePipe();
  if (!toChild || !fromChild || !makeInheritable(toChild->readEnd) ||
      !makeInheritable(fromChild->writeEnd)) {
    return std::nullopt;
  }
  // The child's ends close here as the pipes go; only the child holds them
  // then, so its end shows as a broken pipe.
  return launch(commandLine, currentFolder,
                ChildPipeEnds{toChild->readEnd.get(), fromChild->writeEnd.get()},
                PipeEnd(reinterpret_cast<std::intptr_t>(toChild->writeEnd.release())),
                PipeEnd(reinterpret_cast<std::intptr_t>(fromChild->readEnd.release())));
}

PipeStatus PipedChild::send(std::string_view bytes, const Deadline& deadline) {
  while (!bytes.empty()) {
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
    const DWORD part = DWORD(std::min<std::size_t>(bytes.size(), kPipeBuffer));
    DWORD written = 0;
    if (!WriteFile(handleOf(toChild_.get()), bytes.data(), part, &written, nullptr)) {
      const DWORD error = GetLastError();
      return error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA ? PipeStatus::kClosed
                                                                  : PipeStatus::kFailed;
    }
    bytes.remove_prefix(written);
  }
  return PipeStatus::kDone;
}

PipeStatus PipedChild::receive(std::string& received, const Deadline& deadline) {
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(handleOf(fromChild_.get()), nullptr, 0, nullptr, &available, nullptr)) {
      return GetLastError() == ERROR_BROKEN_PIPE ? PipeStatus::kClosed : PipeStatus::kFailed;
    }
    if (available > 0) {
      const std::size_t start = received.size();
      received.resize(start + std::min(available, kReadChunk));
      DWORD got = 0;
      const BOOL read = ReadFile(handleOf(fromChild_.get()), received.data() + start,
                                 DWORD(received.size() - start), &got, nullptr);
      received.resize(start + (read ? got : 0));
      if (!read) return PipeStatus::kFailed;
      return PipeStatus::kDone;
    }
    if (hasEnded()) return PipeStatus::kClosed;
    if (deadline.hasPassed()) return PipeStatus::kTimedOut;
    Sleep(kPollMilliseconds);
  }
}

}  // namespace ondrel::platform
