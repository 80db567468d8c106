// Stands in for a Chromium-family browser run with "--headless --screenshot": it records how it
// was started and writes a PNG of the test pattern at the window size, or misbehaves on request
// (see tests/support/fake_browser_env.h). With "--remote-debugging-pipe" it speaks the DevTools
// protocol instead (devtools_pipe.h).

#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "tests/fake_browser/browser_command_line.h"
#include "tests/fake_browser/devtools_pipe.h"
#include "tests/fake_browser/pipe_io.h"
#include "tests/support/browser_log.h"
#include "tests/support/fake_browser_env.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

constexpr int kExitWritten = 0;
constexpr int kExitCannotWrite = 1;
constexpr int kExitUsage = 2;
constexpr int kExitFailure = 3;

enum class Mode { Normal, Hang, NoScreenshot, Larger, Smaller, NotPng, TruncatedPng };

std::string_view environmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

std::optional<Mode> modeFromEnvironment() {
  const std::string_view name = environmentValue(kFakeBrowserModeVariable);
  // A browser that refuses the pipe draws as any other with --screenshot.
  if (name.empty() || name == "normal" || name == "refuse-pipe") return Mode::Normal;
  if (name == "hang") return Mode::Hang;
  if (name == "no-screenshot") return Mode::NoScreenshot;
  if (name == "larger") return Mode::Larger;
  if (name == "smaller") return Mode::Smaller;
  if (name == "not-png") return Mode::NotPng;
  if (name == "truncated-png") return Mode::TruncatedPng;
  return std::nullopt;
}

std::optional<int> delayFromEnvironment() {
  const std::string_view text = environmentValue(kFakeBrowserDelayVariable);
  if (text.empty()) return 0;
  int milliseconds = 0;
  const auto [stop, error] = std::from_chars(text.data(), text.data() + text.size(), milliseconds);
  if (error != std::errc() || stop != text.data() + text.size() || milliseconds < 0) {
    return std::nullopt;
  }
  return milliseconds;
}

void record(const std::vector<std::string>& args) {
  const std::string_view log = environmentValue(kFakeBrowserLogVariable);
  if (log.empty()) return;
  std::error_code error;
  const std::string cwd = std::filesystem::current_path(error).string();
  if (!appendBrowserRun(std::filesystem::path(log), {cwd, args, currentProcessId()})) {
    std::cerr << "fake-browser: cannot append to " << log << '\n';
  }
}

[[noreturn]] void hang() {
  for (;;) std::this_thread::sleep_for(std::chrono::seconds(1));
}

std::string pageText(const std::optional<std::string>& page) {
  std::ifstream file;
  if (page) file.open(std::filesystem::path(*page), std::ios::binary);
  std::ostringstream text;
  if (file) text << file.rdbuf();
  return text.str();
}

// The size of the screenshot a mode draws in a window of `window`.
WindowSize screenshotSize(Mode mode, WindowSize window) {
  switch (mode) {
    case Mode::Larger:
      return {window.width + 16, window.height + 8};
    case Mode::Smaller:
      return {std::max(window.width / 2, 1), std::max(window.height / 2, 1)};
    default:
      return window;
  }
}

bool writeBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << bytes;
  file.close();
  return !file.fail();
}

bool writeScreenshot(Mode mode, const std::filesystem::path& path, WindowSize window,
                     std::uint8_t seed) {
  if (mode == Mode::NotPng) return writeBytes(path, "this is not a png\n");
  const WindowSize size = screenshotSize(mode, window);
  const PngImage image = patternImage(size.width, size.height, seed);
  if (mode == Mode::TruncatedPng) {
    const std::string png = encodePng(image);
    return writeBytes(path, std::string_view(png).substr(0, png.size() / 2));
  }
  return writePng(path, image);
}

int run(const std::vector<std::string>& args) {
  const BrowserCommandLine commandLine = parseBrowserCommandLine(args);
  if (commandLine.switchValue("remote-debugging-pipe")) {
    return speakDevTools(commandLine, environmentValue(kFakeBrowserModeVariable),
                         delayFromEnvironment().value_or(0));
  }
  const std::optional<Mode> mode = modeFromEnvironment();
  const std::optional<int> delay = delayFromEnvironment();
  if (!mode || !delay) {
    std::cerr << "fake-browser: bad " << kFakeBrowserModeVariable << " or "
              << kFakeBrowserDelayVariable << '\n';
    return kExitUsage;
  }
  if (*mode == Mode::Hang) hang();

  const std::optional<std::string> screenshot = commandLine.switchValue("screenshot");
  const std::optional<WindowSize> cssWindow =
      parseWindowSize(commandLine.switchValue("window-size").value_or(""));
  const std::optional<double> scale =
      parseScale(commandLine.switchValue("force-device-scale-factor").value_or("1"));
  if (!screenshot || screenshot->empty() || !cssWindow || !scale) {
    std::cerr << "fake-browser: needs --screenshot=<path> and --window-size=<width>,<height>,"
                 " and a --force-device-scale-factor of 1 to 4 when given\n";
    return kExitUsage;
  }
  // Like Chromium, it draws a window of CSS pixels at the scale's density.
  const WindowSize window = scaledWindow(*cssWindow, *scale);

  const std::string page = pageText(commandLine.page);
  const std::string_view pageCopy = environmentValue(kFakeBrowserPageCopyVariable);
  if (!pageCopy.empty() && !writeBytes(std::filesystem::path(pageCopy), page)) {
    std::cerr << "fake-browser: cannot write " << pageCopy << '\n';
    return kExitCannotWrite;
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(*delay + pauseOfPage(page)));
  if (*mode == Mode::NoScreenshot) return kExitWritten;
  const std::uint8_t seed = seedOfPage(page);
  if (!writeScreenshot(*mode, std::filesystem::path(*screenshot), window, seed)) {
    std::cerr << "fake-browser: cannot write " << *screenshot << '\n';
    return kExitCannotWrite;
  }
  return kExitWritten;
}

}  // namespace
}  // namespace ondrel::test

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  ondrel::test::record(args);
  try {
    return ondrel::test::run(args);
  } catch (const std::exception& failure) {
    std::cerr << "fake-browser: " << failure.what() << '\n';
    return ondrel::test::kExitFailure;
  }
}
