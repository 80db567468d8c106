// Names of files as the two sides of wine see them: the drive-letter names a
// Windows program uses and the Unix names behind them.
#ifndef ONDREL_TESTS_WINE_CHROMIUM_UNIX_PATHS_H_
#define ONDREL_TESTS_WINE_CHROMIUM_UNIX_PATHS_H_

#include <optional>
#include <string>
#include <string_view>

#include "text/wide_text.h"

namespace ondrel::wine_chromium {

// The Unix name of a Windows file name, short (8.3) names resolved; nothing
// outside wine or for a name on no drive wine maps. The file itself need not
// exist.
std::optional<std::string> unixPathOf(WideView windowsPath);

// The Windows name of a Unix file name (on wine's drive Z: by default).
std::optional<WideString> windowsPathOf(std::string_view unixPath);

}  // namespace ondrel::wine_chromium

#endif  // ONDREL_TESTS_WINE_CHROMIUM_UNIX_PATHS_H_
