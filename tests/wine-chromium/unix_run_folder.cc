#include "tests/wine-chromium/unix_run_folder.h"

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>
#include <thread>

#include "platform/host_support.h"
#include "tests/wine-chromium/unix_paths.h"

namespace ondrel::wine_chromium {
namespace {

using Clock = std::chrono::steady_clock;

// wine shows the Unix file system on drive Z:, /proc included.
std::filesystem::path windowsName(const std::string& unixPath) {
  const std::optional<WideString> name = windowsPathOf(unixPath);
  return name ? std::filesystem::path(*name) : std::filesystem::path();
}

std::string readAll(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  return bytes.str();
}

struct UnixProcess {
  long pid;
  std::string commandLine;
  std::string environment;
};

// Every process but those already ended and waiting to be reaped.
std::vector<UnixProcess> unixProcesses() {
  std::vector<UnixProcess> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(windowsName("/proc"), error)) {
    const std::string name = entry.path().filename().string();
    if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) continue;
    const std::string status = readAll(entry.path() / "stat");
    const std::size_t state = status.rfind(") ");
    if (state == std::string::npos || status.compare(state + 2, 1, "Z") == 0) continue;
    std::string commandLine = readAll(entry.path() / "cmdline");
    std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
    found.push_back({std::stol(name), commandLine, readAll(entry.path() / "environ")});
  }
  return found;
}

}  // namespace

UnixRunFolder::UnixRunFolder() {
  unixPath_ = "/tmp/ondrel-wc-" + std::to_string(std::random_device()());
  windowsPath_ = windowsName(unixPath_);
  std::filesystem::create_directory(windowsPath_);
  platform::setEnvironmentVariable("ONDREL_WINE_CHROMIUM_ROOT", windowsPath_.string());
}

UnixRunFolder::~UnixRunFolder() {
  std::error_code error;
  std::filesystem::remove_all(windowsPath_, error);
}

std::vector<std::string> UnixRunFolder::entries() const {
  std::vector<std::string> names;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(windowsPath_, error)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

std::vector<long> UnixRunFolder::processes() const { return processesOf(""); }

std::vector<long> UnixRunFolder::processesOf(const std::string& program) const {
  std::vector<long> pids;
  for (const UnixProcess& process : unixProcesses()) {
    const bool ours = process.commandLine.find(unixPath_) != std::string::npos ||
                      process.environment.find(unixPath_) != std::string::npos;
    if (ours && process.commandLine.starts_with(program)) pids.push_back(process.pid);
  }
  return pids;
}

void UnixRunFolder::waitUntilEmpty(std::chrono::milliseconds within) const {
  const auto deadline = Clock::now() + within;
  while ((!processes().empty() || !entries().empty()) && Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

bool killUnixProcesses(const std::vector<long>& pids, std::chrono::milliseconds within) {
  std::wstring line = windowsName("/bin/sh").wstring() + L" -c \"kill -KILL \\\"$@\\\"\" kill";
  for (const long pid : pids) line += L" " + std::to_wstring(pid);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  const auto deadline = Clock::now() + within;
  for (;;) {
    bool anyLeft = false;
    for (const UnixProcess& process : unixProcesses()) {
      for (const long pid : pids) anyLeft = anyLeft || process.pid == pid;
    }
    if (!anyLeft) return true;
    if (Clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
}

}  // namespace ondrel::wine_chromium
