// The record the fake browser keeps of how it was started, so tests can check the command line
// and the current directory a capture gave it.
//
// The log is plain text, one record per run:
//   run
//   cwd=<current directory>
//   pid=<process id>      (when known)
//   arg=<argument>        (one line per argument after the program name, in order)
//   end
// Arguments holding a line break cannot be told apart from the next line; command lines of
// captures never hold one.

#ifndef ONDREL_TESTS_SUPPORT_BROWSER_LOG_H_
#define ONDREL_TESTS_SUPPORT_BROWSER_LOG_H_

#include <filesystem>
#include <string>
#include <vector>

namespace ondrel::test {

struct BrowserRun {
  std::string cwd;
  std::vector<std::string> args;  // argv[1..] as the process received them
  long pid = 0;                   // 0 when not recorded
};

std::string formatBrowserRun(const BrowserRun& run);

// Appends one record to the log in a single write; runs that end at the same moment take turns,
// so records never interleave. False when the log cannot be written.
bool appendBrowserRun(const std::filesystem::path& log, const BrowserRun& run);

// Every complete record in the log, oldest first; empty when the log does not exist.
std::vector<BrowserRun> readBrowserLog(const std::filesystem::path& log);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_BROWSER_LOG_H_
