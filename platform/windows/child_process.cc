#include "platform/child_process.h"

#include <utility>

#include "platform/windows/kernel_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {

// Declared so that the thread handle is closed first, then the process handle.
struct ChildProcess::Native {
  KernelHandle process;
  KernelHandle thread;
};

std::optional<ChildProcess> ChildProcess::start(const WideString& commandLine,
                                                const WideString& currentFolder) {
  // CreateProcessW may write into the command line, so it gets its own copy.
  WideString writable = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(writable.data()), nullptr, nullptr, FALSE,
                      NORMAL_PRIORITY_CLASS, nullptr, native(currentFolder), &startup, &started)) {
    return std::nullopt;
  }
  return ChildProcess(
      std::make_unique<Native>(KernelHandle(started.hProcess), KernelHandle(started.hThread)));
}

ChildProcess::ChildProcess(std::unique_ptr<Native> native) : native_(std::move(native)) {}
ChildProcess::ChildProcess(ChildProcess&& other) noexcept = default;
ChildProcess::~ChildProcess() = default;

// Windows reports STILL_ACTIVE as the exit code of a thread that runs; a
// thread that really ended with that code reads as running too.
std::optional<ThreadState> ChildProcess::primaryThreadState() {
  DWORD code = 0;
  if (!GetExitCodeThread(native_->thread.get(), &code)) return std::nullopt;
  if (code == STILL_ACTIVE) return ThreadState::running();
  return ThreadState::ended(std::uint32_t(code));
}

void ChildProcess::terminateAndWait() {
  TerminateProcess(native_->process.get(), 0);
  WaitForSingleObject(native_->process.get(), INFINITE);
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace ondrel::platform
