// Reads a command line the way Chromium does: "--name" and "--name=value" are switches (a later
// one replaces an earlier one of the same name), "--" ends the switches, and the last other
// argument is the page to show.

#ifndef ONDREL_TESTS_FAKE_BROWSER_BROWSER_COMMAND_LINE_H_
#define ONDREL_TESTS_FAKE_BROWSER_BROWSER_COMMAND_LINE_H_

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ondrel::test {

struct BrowserCommandLine {
  std::map<std::string, std::string, std::less<>> switches;  // value "" for "--name"
  std::optional<std::string> page;

  std::optional<std::string> switchValue(std::string_view name) const;
};

BrowserCommandLine parseBrowserCommandLine(const std::vector<std::string>& args);

struct WindowSize {
  int width = 0, height = 0;
};

// Largest window side the fake browser draws; larger sizes are refused rather than allocated.
inline constexpr int kMaxWindowSide = 16384;

// "W,H" with W and H decimal numbers from 1 to kMaxWindowSide.
std::optional<WindowSize> parseWindowSize(std::string_view text);

// A device scale factor from 1 to 4, as "--force-device-scale-factor" takes it.
std::optional<double> parseScale(std::string_view text);

// The window's size in device pixels at `scale`, each side rounded as Chromium rounds it.
WindowSize scaledWindow(WindowSize window, double scale);

}  // namespace ondrel::test

#endif  // ONDREL_TESTS_FAKE_BROWSER_BROWSER_COMMAND_LINE_H_
