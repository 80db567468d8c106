#include "tests/support/browser_log.h"

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <optional>
#include <string_view>
#include <system_error>
#include <thread>

namespace ondrel::test {
namespace {

constexpr std::string_view kRunLine = "run";
constexpr std::string_view kEndLine = "end";
constexpr std::string_view kCwdPrefix = "cwd=";
constexpr std::string_view kArgPrefix = "arg=";
constexpr std::string_view kPidPrefix = "pid=";

// Appending is not atomic everywhere: the Windows C runtime seeks to the end and then writes,
// so two browsers started together could overwrite each other's record. They take turns
// through a lock folder instead, since creating a folder is atomic on every platform. A lock
// left by a run that was killed while holding it is broken after a while.
class LogLock {
 public:
  explicit LogLock(const std::filesystem::path& log) : path_(log.string() + ".lock") {
    constexpr auto kPatience = std::chrono::seconds(5);
    const auto deadline = std::chrono::steady_clock::now() + kPatience;
    std::error_code error;
    while (!std::filesystem::create_directory(path_, error)) {
      if (error || std::chrono::steady_clock::now() >= deadline) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    held_ = true;
  }
  ~LogLock() {
    std::error_code ignored;
    if (held_) std::filesystem::remove(path_, ignored);
  }
  LogLock(const LogLock&) = delete;
  LogLock& operator=(const LogLock&) = delete;

 private:
  std::filesystem::path path_;
  bool held_ = false;
};

std::optional<std::string_view> valueAfter(std::string_view line, std::string_view prefix) {
  if (!line.starts_with(prefix)) return std::nullopt;
  return line.substr(prefix.size());
}

}  // namespace

std::string formatBrowserRun(const BrowserRun& run) {
  std::string record;
  record.append(kRunLine).append("\n");
  record.append(kCwdPrefix).append(run.cwd).append("\n");
  if (run.pid != 0) record.append(kPidPrefix).append(std::to_string(run.pid)).append("\n");
  for (const std::string& arg : run.args) record.append(kArgPrefix).append(arg).append("\n");
  record.append(kEndLine).append("\n");
  return record;
}

bool appendBrowserRun(const std::filesystem::path& log, const BrowserRun& run) {
  const std::string record = formatBrowserRun(run);
  LogLock lock(log);
  std::ofstream file(log, std::ios::binary | std::ios::app);
  file.write(record.data(), static_cast<std::streamsize>(record.size()));
  file.close();
  return !file.fail();
}

std::vector<BrowserRun> readBrowserLog(const std::filesystem::path& log) {
  std::vector<BrowserRun> runs;
  std::optional<BrowserRun> current;
  std::ifstream file(log, std::ios::binary);
  for (std::string line; std::getline(file, line);) {
    if (line == kRunLine) {
      current.emplace();
    } else if (!current) {
      continue;  // outside a record: nothing to attach it to
    } else if (line == kEndLine) {
      runs.push_back(std::move(*current));
      current.reset();
    } else if (auto cwd = valueAfter(line, kCwdPrefix)) {
      current->cwd = *cwd;
    } else if (auto pid = valueAfter(line, kPidPrefix)) {
      current->pid = std::atol(std::string(*pid).c_str());
    } else if (auto arg = valueAfter(line, kArgPrefix)) {
      current->args.emplace_back(*arg);
    }
  }
  return runs;
}

}  // namespace ondrel::test
