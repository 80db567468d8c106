#include "tests/fake_browser/browser_command_line.h"

#include <charconv>
#include <cmath>

namespace ondrel::test {
namespace {

constexpr std::string_view kSwitchPrefix = "--";
constexpr std::string_view kSwitchTerminator = "--";

std::optional<int> parseSide(std::string_view text) {
  int side = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, side);
  if (text.empty() || text.front() == '-' || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  if (side < 1 || side > kMaxWindowSide) return std::nullopt;
  return side;
}

}  // namespace

std::optional<std::string> BrowserCommandLine::switchValue(std::string_view name) const {
  const auto found = switches.find(name);
  if (found == switches.end()) return std::nullopt;
  return found->second;
}

BrowserCommandLine parseBrowserCommandLine(const std::vector<std::string>& args) {
  BrowserCommandLine commandLine;
  bool switchesEnded = false;
  for (const std::string& arg : args) {
    if (!switchesEnded && arg == kSwitchTerminator) {
      switchesEnded = true;
    } else if (!switchesEnded && arg.starts_with(kSwitchPrefix)) {
      const std::string_view nameAndValue = std::string_view(arg).substr(kSwitchPrefix.size());
      const std::size_t equals = nameAndValue.find('=');
      const std::string name(nameAndValue.substr(0, equals));
      const std::string value(equals == std::string_view::npos ? std::string_view()
                                                               : nameAndValue.substr(equals + 1));
      commandLine.switches.insert_or_assign(name, value);
    } else {
      commandLine.page = arg;
    }
  }
  return commandLine;
}

std::optional<WindowSize> parseWindowSize(std::string_view text) {
  const std::size_t comma = text.find(',');
  if (comma == std::string_view::npos) return std::nullopt;
  const auto width = parseSide(text.substr(0, comma));
  const auto height = parseSide(text.substr(comma + 1));
  if (!width || !height) return std::nullopt;
  return WindowSize{*width, *height};
}

std::optional<double> parseScale(std::string_view text) {
  double scale = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, scale, std::chars_format::fixed);
  if (text.empty() || error != std::errc() || stop != end || !(scale >= 1 && scale <= 4)) {
    return std::nullopt;
  }
  return scale;
}

WindowSize scaledWindow(WindowSize window, double scale) {
  return {int(std::round(window.width * scale)), int(std::round(window.height * scale))};
}

}  // namespace ondrel::test
