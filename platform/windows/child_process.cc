#include "platform/child_process.h"

#include "platform/windows/native_text.h"

namespace ondrel::platform {

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
  return ChildProcess(new Native{KernelHandle(started.hProcess), KernelHandle(started.hThread)});
}

ChildProcess::ChildProcess(ChildProcess&& other) noexcept : native_(other.native_) {
  other.native_ = nullptr;
}

ChildProcess::~ChildProcess() {
  if (native_ == nullptr) return;
  // The thread handle goes first, then the process handle.
  native_->thread.reset();
  native_->process.reset();
  delete native_;
}

std::optional<std::uint32_t> ChildProcess::primaryThreadExitCode() {
  DWORD code = 0;
  if (!GetExitCodeThread(native_->thread.get(), &code)) return std::nullopt;
  return std::uint32_t(code);
}

void ChildProcess::terminateAndWait() {
  TerminateProcess(native_->process.get(), 0);
  WaitForSingleObject(native_->process.get(), INFINITE);
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace ondrel::platform
