#include "tests/support/process_end.h"

#include <signal.h>

#include <fstream>
#include <string>
#include <thread>

namespace ondrel::test {
namespace {

bool isGone(long pid) {
  if (kill(pid_t(pid), 0) != 0) return true;
  // The state is the first field after the parenthesised name.
  std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
  std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
  const std::size_t nameEnd = text.rfind(')');
  return nameEnd == std::string::npos || text.substr(nameEnd + 2, 1) == "Z";
}

}  // namespace

bool processEnds(long pid, std::chrono::milliseconds within) {
  const auto deadline = std::chrono::steady_clock::now() + within;
  while (!isGone(pid)) {
    if (std::chrono::steady_clock::now() >= deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return true;
}

void killProcess(long pid) { kill(pid_t(pid), SIGKILL); }

}  // namespace ondrel::test
