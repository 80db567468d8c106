#include "tests/browser/shallow_temporary_folder.h"

#include <random>

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
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ShallowTemporaryFolder::entries() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) {
    names.push_back(entry.path().filename().string());
  }
  return names;
}

}  // namespace ondrel::test
