// The fake browser started with "--remote-debugging-pipe": it speaks the DevTools protocol
// (fake_devtools.h) on descriptors 3 and 4, or misbehaves on request.
#ifndef ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_
#define ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_

#include <string_view>

#include "tests/fake_browser/browser_command_line.h"

namespace ondrel::test {

// Speaks the protocol until told to close; the process's exit code. `mode` is the value of
// kFakeBrowserModeVariable, `delayMilliseconds` a wait before each screenshot.
int speakDevTools(const BrowserCommandLine& commandLine, std::string_view mode,
                  int delayMilliseconds);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_DEVTOOLS_PIPE_H_
