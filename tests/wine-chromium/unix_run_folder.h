// A fresh folder in the Unix /tmp where the stand-in gives each browser run a
// folder of its own and the browser its temporary folder: named to the
// stand-in through ONDREL_WINE_CHROMIUM_ROOT while the object lives. Every
// Unix process of those runs names the folder on its command line or in its
// environment, which tells the test's browsers from any other's.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_UNIX_RUN_FOLDER_H_
#define ONDREL_TESTS_WINE_CHROMIUM_UNIX_RUN_FOLDER_H_

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

namespace ondrel::wine_chromium {

class UnixRunFolder {
 public:
  UnixRunFolder();
  UnixRunFolder(const UnixRunFolder&) = delete;
  UnixRunFolder& operator=(const UnixRunFolder&) = delete;
  ~UnixRunFolder();

  const std::filesystem::path& windowsPath() const { return windowsPath_; }
  const std::string& unixPath() const { return unixPath_; }

  // The names of what is in the folder.
  std::vector<std::string> entries() const;
  // The Unix processes of the folder's runs; those among them whose command
  // line, its arguments joined by spaces, starts with `program`; Chromium's own.
  std::vector<long> processes() const;
  std::vector<long> processesOf(const std::string& program) const;
  std::vector<long> chromiumProcesses() const { return processesOf("/usr/lib/chromium/"); }

  // Waits at most `within` until no process of the folder's runs is left and
  // the folder is empty, as a killed browser takes a moment to go.
  void waitUntilEmpty(std::chrono::milliseconds within) const;

 private:
  std::string unixPath_;
  std::filesystem::path windowsPath_;
};

// Kills Unix processes with SIGKILL; true once all have gone within `within`.
bool killUnixProcesses(const std::vector<long>& pids, std::chrono::milliseconds within);

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_UNIX_RUN_FOLDER_H_
