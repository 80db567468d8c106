#include "tests/support/chromium_processes.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>

namespace ondrel::test {
namespace {

std::vector<int> processesWhere(const std::function<bool(const std::string&)>& commandLineFits) {
  std::vector<int> found;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string name = entry.path().filename().string();
    if (name.find_first_not_of("0123456789") != std::string::npos) continue;
    const int pid = std::stoi(name);
    if (commandLineFits(commandLineOf(pid))) found.push_back(pid);
  }
  return found;
}

}  // namespace

std::string commandLineOf(int pid) {
  std::ifstream file("/proc/" + std::to_string(pid) + "/cmdline", std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

std::vector<int> processesNaming(std::string_view text) {
  return processesWhere(
      [&](const std::string& commandLine) { return commandLine.find(text) != std::string::npos; });
}

std::vector<int> chromiumProcessesNaming(std::string_view text) {
  return processesWhere([&](const std::string& commandLine) {
    return commandLine.find(text) != std::string::npos &&
           commandLine.starts_with("/usr/lib/chromium");
  });
}

std::vector<int> chromiumRenderersNaming(std::string_view text) {
  return processesWhere([&](const std::string& commandLine) {
    return commandLine.find(text) != std::string::npos &&
           commandLine.starts_with("/usr/lib/chromium") &&
           commandLine.find("--type=renderer") != std::string::npos;
  });
}

}  // namespace ondrel::test
