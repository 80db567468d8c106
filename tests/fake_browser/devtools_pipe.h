// The fake browser started with "--remote-debugging-pipe": it answers the DevTools protocol on
// descriptors 3 and 4 with the test pattern as screenshot, or misbehaves on request.
#ifndef ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_
#define ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_

#include <string_view>

#include "tests/fake_browser/browser_command_line.h"

namespace ondrel::test {

// Speaks the protocol until told to close; the process's exit code. `mode` is the value of
// kFakeBrowserModeVariable, `delayMilliseconds` a wait before each screenshot.
int speakDevTools(const BrowserCommandLine& commandLine, std::string_view mode,
                  int delayMilliseconds);

// The path a file URL names, percent-escapes undone; a drive path keeps its letter
// (file:///C:/a -> C:/a), a host becomes a UNC name (file://host/a -> //host/a).
std::string pathOfFileUrl(std::string_view url);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_
