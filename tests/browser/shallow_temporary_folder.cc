#include "tests/browser/shallow_temporary_folder.h"

#include <chrono>
#include <random>
#include <thread>

#include "platform/host_support.h"

namespace ondrel::test {

ShallowTemporaryFolder::ShallowTemporaryFolder(const std::string& prefix)
    : path_(std::filesystem::path("/tmp") / (prefix + std::to_string(std::random_device()()))) {
  std::filesystem::create_directories(path_);
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    platform::setEnvironmentVariable(variable, path_.string());
  }
}

ShallowTemporaryFolder::~ShallowTemporaryFolder() {
  // A browser killed by a test may still be writing into its folder here, so
  // that one removal finds the folder refilled; a few more seconds let it go.
  for (int attempt = 0; attempt < 50; ++attempt) {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
    if (!std::filesystem::exists(path_, error)) return;
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
  }
}

std::vector<std::string> ShallowTemporaryFolder::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace ondrel::test
