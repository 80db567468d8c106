// Chromium's processes on this machine, found by their command lines (Linux, /proc). The tests
// with a real browser tell their own browsers from any other's by the temporary folder the
// browsers were started in, which every Chromium process names in its --user-data-dir.
#ifndef ONDREL_TESTS_SUPPORT_CHROMIUM_PROCESSES_H_
#define ONDREL_TESTS_SUPPORT_CHROMIUM_PROCESSES_H_

#include <string>
#include <string_view>
#include <vector>

namespace ondrel::test {

// The command line of process `pid`, its arguments NUL-separated (Chromium's helpers rewrite
// theirs as one text, separated by spaces); empty once it has gone.
std::string commandLineOf(int pid);

// Processes whose command line names `text`, by id: the wrapper's shells included.
std::vector<int> processesNaming(std::string_view text);

// Chromium's own processes among them: the browser, its zygotes, helpers and renderers.
std::vector<int> chromiumProcessesNaming(std::string_view text);

// The renderer processes among those, one or more for each page shown.
std::vector<int> chromiumRenderersNaming(std::string_view text);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_SUPPORT_CHROMIUM_PROCESSES_H_
