#ifndef ONDREL_TESTS_BROWSER_SHALLOW_TEMPORARY_FOLDER_H_
#define ONDREL_TESTS_BROWSER_SHALLOW_TEMPORARY_FOLDER_H_

#include <filesystem>
#include <string>
#include <vector>

namespace ondrel::test {

// A fresh folder in /tmp made the process's temporary folder while it lives.
// The module's own test folder is too deep for the browser's socket names,
// and a folder of the test's own tells its browsers and leftovers from any
// other's.
class ShallowTemporaryFolder {
 public:
  explicit ShallowTemporaryFolder(const std::string& prefix);
  ShallowTemporaryFolder(const ShallowTemporaryFolder&) = delete;
  ShallowTemporaryFolder& operator=(const ShallowTemporaryFolder&) = delete;
  ~ShallowTemporaryFolder();

  const std::filesystem::path& path() const { return path_; }
  // The names of what is in the folder.
  std::vector<std::string> entries() const;

 private:
  std::filesystem::path path_;
};

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_BROWSER_SHALLOW_TEMPORARY_FOLDER_H_
