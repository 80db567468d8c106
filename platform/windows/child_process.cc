#include "platform/child_process.h"

#include <cstring>
#include <utility>
#include <vector>

#include "platform/windows/child_pipe_ends.h"
#include "platform/windows/kernel_handle.h"
#include "platform/windows/native_text.h"

namespace ondrel::platform {

// Declared so that the thread handle is closed first, then the process
// handle, and the job last: closing it ends whatever still runs in it.
struct ChildProcess::Native {
  KernelHandle job;
  KernelHandle process;
  KernelHandle thread;
};

namespace {

// The C runtime's block of inherited descriptors, as its start-up code reads
// it from STARTUPINFO.lpReserved2: a count, one flag byte per descriptor,
// then one handle per descriptor, packed without alignment.
class InheritedDescriptors {
 public:
  explicit InheritedDescriptors(const ChildPipeEnds& ends) {
    constexpr unsigned char kOpenPipe = 0x01 | 0x08;  // FOPEN | FPIPE
    const HANDLE handles[kCount] = {INVALID_HANDLE_VALUE, INVALID_HANDLE_VALUE,
                                    INVALID_HANDLE_VALUE, ends.readEnd, ends.writeEnd};
    const unsigned char flags[kCount] = {0, 0, 0, kOpenPipe, kOpenPipe};
    const int count = kCount;
    bytes_.resize(sizeof count + sizeof flags + sizeof handles);
    std::memcpy(bytes_.data(), &count, sizeof count);
    std::memcpy(bytes_.data() + sizeof count, flags, sizeof flags);
    std::memcpy(bytes_.data() + sizeof count + sizeof flags, handles, sizeof handles);
  }

  WORD size() const { return WORD(bytes_.size()); }
  BYTE* data() { return bytes_.data(); }

 private:
  static constexpr int kCount = 5;
  std::vector<BYTE> bytes_;
};

// A process-thread attribute list naming the only handles the child inherits.
class InheritedHandleList {
 public:
  explicit InheritedHandleList(const ChildPipeEnds& ends) : handles_{ends.readEnd, ends.writeEnd} {
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    storage_.resize(size);
    list_ = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
    if (!InitializeProcThreadAttributeList(list_, 1, 0, &size)) {
      list_ = nullptr;
      return;
    }
    if (!UpdateProcThreadAttribute(list_, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_,
                                   sizeof handles_, nullptr, nullptr)) {
      DeleteProcThreadAttributeList(list_);
      list_ = nullptr;
    }
  }
  InheritedHandleList(const InheritedHandleList&) = delete;
  InheritedHandleList& operator=(const InheritedHandleList&) = delete;
  ~InheritedHandleList() {
    if (list_ != nullptr) DeleteProcThreadAttributeList(list_);
  }

  LPPROC_THREAD_ATTRIBUTE_LIST get() const { return list_; }

 private:
  HANDLE handles_[2];
  std::vector<BYTE> storage_;
  LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// A job that kills every process in it when its last handle closes, be it
// closed by the plug-in or by the system as the viewer ends.
KernelHandle makeKillOnCloseJob() {
  KernelHandle job(CreateJobObjectW(nullptr, nullptr));
  if (!job.valid()) return job;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (!SetInformationJobObject(job.get(), JobObjectExtendedLimitInformation, &limits,
                               sizeof limits)) {
    return KernelHandle();
  }
  return job;
}

// Puts the suspended process into a job of its own before it runs, so that
// the helpers it starts join the job too; then lets it run. Without a job
// (a system that refuses one) the process still runs, as any other child.
KernelHandle runInJob(const PROCESS_INFORMATION& started) {
  KernelHandle job = makeKillOnCloseJob();
  if (job.valid() && !AssignProcessToJobObject(job.get(), started.hProcess)) job = KernelHandle();
  ResumeThread(started.hThread);
  return job;
}

std::optional<PROCESS_INFORMATION> createProcess(WideString commandLine,
                                                 const WideString& currentFolder,
                                                 const ChildPipeEnds* pipeEnds) {
  STARTUPINFOEXW startup{};
  startup.StartupInfo.cb = sizeof startup.StartupInfo;
  DWORD flags = NORMAL_PRIORITY_CLASS;
  BOOL inherit = FALSE;
  std::optional<InheritedDescriptors> descriptors;
  std::optional<InheritedHandleList> handleList;
  if (pipeEnds != nullptr) {
    descriptors.emplace(*pipeEnds);
    handleList.emplace(*pipeEnds);
    if (handleList->get() == nullptr) return std::nullopt;
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.cbReserved2 = descriptors->size();
    startup.StartupInfo.lpReserved2 = descriptors->data();
    startup.lpAttributeList = handleList->get();
    // A browser on a pipe is kept between pictures: it starts suspended until
    // it is in its job.
    flags |= EXTENDED_STARTUPINFO_PRESENT | CREATE_SUSPENDED;
    inherit = TRUE;
  }
  PROCESS_INFORMATION started{};
  // CreateProcessW may write into the command line, so it gets its own copy.
  if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(commandLine.data()), nullptr, nullptr,
                      inherit, flags, nullptr, native(currentFolder), &startup.StartupInfo,
                      &started)) {
    return std::nullopt;
  }
  return started;
}

}  // namespace

std::optional<ChildProcess> ChildProcess::start(const WideString& commandLine,
                                                const WideString& currentFolder,
                                                const ChildPipeEnds* pipeEnds) {
  const std::optional<PROCESS_INFORMATION> started =
      createProcess(commandLine, currentFolder, pipeEnds);
  if (!started) return std::nullopt;
  KernelHandle job = pipeEnds != nullptr ? runInJob(*started) : KernelHandle();
  return ChildProcess(std::make_unique<Native>(std::move(job), KernelHandle(started->hProcess),
                                               KernelHandle(started->hThread)));
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

// A program in a job ends with all its helpers.
void ChildProcess::terminateAndWait() {
  if (native_->job.valid()) TerminateJobObject(native_->job.get(), 0);
  TerminateProcess(native_->process.get(), 0);
  WaitForSingleObject(native_->process.get(), INFINITE);
}

void sleepMilliseconds(unsigned milliseconds) { Sleep(milliseconds); }

}  // namespace ondrel::platform
