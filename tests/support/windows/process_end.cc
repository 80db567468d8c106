#include "tests/support/process_end.h"

#include <windows.h>

namespace ondrel::test {

bool processEnds(long pid, std::chrono::milliseconds within) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, DWORD(pid));
  if (process == nullptr) return true;  // no such process any more
  const bool ended = WaitForSingleObject(process, DWORD(within.count())) == WAIT_OBJECT_0;
  CloseHandle(process);
  return ended;
}

void killProcess(long pid) {
  HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(pid));
  if (process == nullptr) return;
  TerminateProcess(process, 1);
  CloseHandle(process);
}

}  // namespace ondrel::test
