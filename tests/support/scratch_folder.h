// A new folder for one test, made the user's temporary folder of the process
// for as long as it lives, so that captures keep their files where the test
// can watch them. The runtime folder is forgotten, so the capture folder is
// the one in the temporary folder on every machine.

#ifndef ONDREL_TESTS_SUPPORT_SCRATCH_FOLDER_H_
#define ONDREL_TESTS_SUPPORT_SCRATCH_FOLDER_H_

#include <filesystem>
#include <string>
#include <vector>

namespace ondrel::test {

class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::filesystem::path& path() const { return path_; }
  // The temporary folder pointed into the scratch folder.
  std::filesystem::path temporary() const { return path_ / "tmp"; }

  // Every name under the temporary folder, folders included, relative to it.
  std::vector<std::string> temporaryContents() const;

 private:
  std::filesystem::path path_;
};

std::string readWholeFile(const std::filesystem::path& file);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_SCRATCH_FOLDER_H_
