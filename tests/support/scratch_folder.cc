#include "tests/support/scratch_folder.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

#include "platform/host_support.h"
#include "tests/support/environment.h"

namespace ondrel::test {

ScratchFolder::ScratchFolder() {
  // Taken before any scratch folder points the temporary folder elsewhere.
  static const std::filesystem::path base = std::filesystem::temp_directory_path();
  std::random_device entropy;
  path_ = base / ("ondrel-scratch-" + std::to_string(entropy()) + std::to_string(entropy()));
  std::filesystem::create_directories(temporary());
  for (const char* variable : {"TMP", "TEMP", "TMPDIR"}) {
    platform::setEnvironmentVariable(variable, temporary().string());
  }
  unsetEnvironmentVariable("XDG_RUNTIME_DIR");
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  // Folders a test made read-only or handed to another user are made
  // removable first.
  for (auto entry = std::filesystem::recursive_directory_iterator(path_, ignored);
       entry != std::filesystem::recursive_directory_iterator(); entry.increment(ignored)) {
    if (entry->is_directory(ignored) && !entry->is_symlink(ignored)) {
      std::filesystem::permissions(entry->path(), std::filesystem::perms::owner_all,
                                   std::filesystem::perm_options::add, ignored);
    }
  }
  std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::temporaryContents() const {
  std::vector<std::string> names;
  std::error_code ignored;
  for (auto entry = std::filesystem::recursive_directory_iterator(temporary(), ignored);
       entry != std::filesystem::recursive_directory_iterator(); entry.increment(ignored)) {
    names.push_back(entry->path().lexically_relative(temporary()).generic_string());
  }
  std::sort(names.begin(), names.end());
  return names;
}

std::string readWholeFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace ondrel::test
