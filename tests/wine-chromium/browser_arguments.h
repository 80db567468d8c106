// The browser's command line as the module writes it for a Windows browser,
// turned into the one the Linux browser behind the stand-in takes.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_BROWSER_ARGUMENTS_H_
#define ONDREL_TESTS_WINE_CHROMIUM_BROWSER_ARGUMENTS_H_

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "text/wide_text.h"

namespace ondrel::wine_chromium {

struct UnixLaunch {
  // --remote-debugging-pipe: the DevTools engine's pipe on descriptors 3 and 4.
  bool takesPipe = false;
  // UTF-8, every Windows file name in its Unix form.
  std::vector<std::string> arguments;
};

using UnixPathOf = std::function<std::optional<std::string>(WideView)>;

// The arguments after the program's name. A file name is an argument or a
// switch's value (`--screenshot=C:\...`) that starts with a drive letter and
// a separator or with two backslashes; nothing else changes but its encoding.
// Nothing when a file name has no Unix form; `failed` then holds it.
//
// `--user-data-dir` goes: the Linux browser keeps its profile in the private
// folder its wrapper gives it. It marks a profile with symbolic links, which
// wine shows a Windows program as the files they name (removing the profile
// would delete those) or, dangling, not at all (the profile could never be
// removed); and a browser whose stand-in was killed writes on into it for the
// moment the Unix half takes to end it. The module's profile folder stays as
// the module made it.
std::optional<UnixLaunch> unixLaunchOf(const std::vector<WideString>& arguments,
                                       const UnixPathOf& unixPathOf, std::string& failed);

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_BROWSER_ARGUMENTS_H_
