#include "tests/fake_browser/devtools_pipe.h"

#include <nlohmann/json.hpp>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>

#include "tests/fake_browser/fake_devtools.h"
#include "tests/fake_browser/pipe_io.h"
#include "tests/support/fake_browser_env.h"

namespace ondrel::test {
namespace {

constexpr int kExitClosed = 0;
constexpr int kExitUsage = 2;
constexpr int kExitPipeFailed = 4;
// As a browser too old for the pipe, or forbidden remote debugging by a policy, ends.
constexpr int kExitRefusedPipe = 21;

[[noreturn]] void hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

// Appends every command it is sent to the file kFakeBrowserProtocolLogVariable names, one JSON
// line each.
class ProtocolLog {
 public:
  ProtocolLog() {
    const char* path = std::getenv(kFakeBrowserProtocolLogVariable);
    if (path != nullptr && *path != '\0') file_.open(path, std::ios::app | std::ios::binary);
  }
  void write(const std::string& line) {
    if (file_) file_ << line << '\n' << std::flush;
  }

 private:
  std::ofstream file_;
};

void sendFrame(std::string text) {
  text.push_back('\0');
  if (!writeToPipe(text)) std::exit(kExitPipeFailed);
}

int answerPipe(std::string_view mode, int delayMilliseconds) {
  ProtocolLog log;
  FakeDevTools browser(mode, delayMilliseconds, sendFrame);
  std::string pending;
  char chunk[4096];
  for (;;) {
    const long got = readFromPipe(chunk, sizeof chunk);
    if (got <= 0) return got == 0 ? kExitClosed : kExitPipeFailed;
    pending.append(chunk, std::size_t(got));
    for (std::size_t end; (end = pending.find('\0')) != std::string::npos;) {
      const std::string text = pending.substr(0, end);
      pending.erase(0, end + 1);
      log.write(text);
      if (mode == "close-pipe") {
        closePipe();
        hang();
      }
      const nlohmann::json command = nlohmann::json::parse(text);
      // A browser as stuck as its page: it reads and answers nothing more.
      if (mode == "stall-at-navigate" && command.value("method", "") == "Page.navigate") hang();
      if (const std::optional<int> exit = browser.take(command)) return *exit;
    }
  }
}

}  // namespace

int speakDevTools(const BrowserCommandLine& commandLine, std::string_view mode,
                  int delayMilliseconds) {
  // Like a real browser, it fills the profile folder it is given.
  const std::optional<std::string> profile = commandLine.switchValue("user-data-dir");
  if (!profile || !std::filesystem::is_directory(*profile)) return kExitUsage;
  std::filesystem::create_directories(std::filesystem::path(*profile) / "Default" / "Cache");
  std::ofstream(std::filesystem::path(*profile) / "Default" / "Preferences") << "{}\n";
  if (mode == "hang") hang();
  if (mode == "refuse-pipe") return kExitRefusedPipe;
  return answerPipe(mode, delayMilliseconds);
}

}  // namespace ondrel::test
