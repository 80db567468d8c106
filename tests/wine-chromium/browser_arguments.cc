#include "tests/wine-chromium/browser_arguments.h"

namespace ondrel::wine_chromium {
namespace {

bool isLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isSeparator(char16_t c) { return c == u'\\' || c == u'/'; }

bool isWindowsPath(WideView text) {
  const bool drive =
      text.size() >= 3 && isLetter(text[0]) && text[1] == u':' && isSeparator(text[2]);
  return drive || text.starts_with(u"\\\\");
}

// Where the file name starts in `argument`, if it holds one.
std::optional<std::size_t> fileNameStart(WideView argument) {
  if (isWindowsPath(argument)) return 0;
  if (!argument.starts_with(u"--")) return std::nullopt;
  const std::size_t equals = argument.find(u'=');
  if (equals == WideView::npos || !isWindowsPath(argument.substr(equals + 1))) return std::nullopt;
  return equals + 1;
}

}  // namespace

std::optional<UnixLaunch> unixLaunchOf(const std::vector<WideString>& arguments,
                                       const UnixPathOf& unixPathOf, std::string& failed) {
  UnixLaunch launch;
  for (const WideString& argument : arguments) {
    const WideView view(argument);
    if (view.starts_with(u"--user-data-dir=")) continue;
    launch.takesPipe = launch.takesPipe || view == u"--remote-debugging-pipe";
    const std::optional<std::size_t> start = fileNameStart(view);
    if (!start) {
      launch.arguments.push_back(wideToUtf8(view));
      continue;
    }
    const std::optional<std::string> unixPath = unixPathOf(view.substr(*start));
    if (!unixPath) {
      failed = wideToUtf8(view);
      return std::nullopt;
    }
    launch.arguments.push_back(wideToUtf8(view.substr(0, *start)) + *unixPath);
  }
  return launch;
}

}  // namespace ondrel::wine_chromium
