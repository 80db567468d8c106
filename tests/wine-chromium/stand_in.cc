// The browser that the Windows module starts in the wine tests. It takes the
// command line the module writes for Chromium on Windows and runs the Linux
// Chromium (tools/chromium-headless) with it, so that the module meets a
// real browser:
//
// - one-shot: file names reach the browser in Unix form, and the stand-in
//   ends when the browser has, with its exit status;
// - DevTools (--remote-debugging-pipe): what the module writes to the
//   stand-in's C-runtime descriptor 3 reaches the browser's 3, what the
//   browser writes to its 4 reaches the module's, byte for byte, until
//   either side closes.
//
// However the stand-in ends, killed in its job included, the browser goes too.
//
// ONDREL_WINE_CHROMIUM_ROOT, a Windows folder name, is where each run gets a
// folder and the browser its temporary folder (/tmp when unset);
// ONDREL_WINE_CHROMIUM_BROWSER, a Unix file name, runs another program in
// place of tools/chromium-headless.

#include <io.h>
#include <windows.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "tests/wine-chromium/browser_arguments.h"
#include "tests/wine-chromium/byte_relay.h"
#include "tests/wine-chromium/stand_in_status.h"
#include "tests/wine-chromium/unix_paths.h"
#include "tests/wine-chromium/unix_side.h"
#include "text/command_line.h"

namespace ondrel::wine_chromium {
namespace {

constexpr char kUsage[] =
    "usage: wine-chromium [BROWSER ARGUMENT...]\n"
    "Runs the Linux Chromium under wine in place of a Windows browser, with the arguments'\n"
    "Windows file names in Unix form; with --remote-debugging-pipe relays descriptors 3 and 4.\n"
    "ONDREL_WINE_CHROMIUM_ROOT: folder for each run (default /tmp); ONDREL_WINE_CHROMIUM_BROWSER:\n"
    "the Unix program to run (default " ONDREL_CHROMIUM_WRAPPER ").\n";

int fail(int status, const std::string& message) {
  std::fprintf(stderr, "wine-chromium: %s\n", message.c_str());
  return status;
}

std::optional<WideString> environmentVariable(const wchar_t* name) {
  wchar_t value[32768];
  const DWORD length = GetEnvironmentVariableW(name, value, DWORD(std::size(value)));
  if (length == 0 || length >= std::size(value)) return std::nullopt;
  return WideString(reinterpret_cast<const char16_t*>(value), length);
}

std::vector<WideString> browserArguments() {
  std::vector<WideString> arguments =
      splitCommandLine(WideView(reinterpret_cast<const char16_t*>(GetCommandLineW())));
  if (!arguments.empty()) arguments.erase(arguments.begin());
  return arguments;
}

std::string unixProgram() {
  const std::optional<WideString> chosen = environmentVariable(L"ONDREL_WINE_CHROMIUM_BROWSER");
  return chosen ? wideToUtf8(*chosen) : std::string(ONDREL_CHROMIUM_WRAPPER);
}

// The module's ends of the DevTools pipe, which the C runtime took over from
// STARTUPINFO.lpReserved2 before main.
HANDLE descriptorHandle(int descriptor) {
  const intptr_t handle = _get_osfhandle(descriptor);
  return handle == -1 || handle == -2 ? nullptr : reinterpret_cast<HANDLE>(handle);
}

int exitStatusOf(UnixSide& side) {
  const std::optional<int> status = side.exitStatus();
  return status ? *status : fail(kNoExitStatus, "the browser's exit status never came");
}

// The relay threads may sit in reads that only the end of the process ends,
// so it ends here, before anything they use could go.
[[noreturn]] void relayUntilEitherCloses(UnixSide& side, HANDLE fromModule, HANDLE toModule) {
  const ByteRelay toBrowser(fromModule, side.toBrowser());
  const ByteRelay fromBrowser(side.fromBrowser(), toModule);
  if (!toBrowser.started() || !fromBrowser.started()) ExitProcess(kNoPipe);
  const HANDLE stopped[] = {toBrowser.stopped(), fromBrowser.stopped()};
  const DWORD first = WaitForMultipleObjects(2, stopped, FALSE, INFINITE);
  // The module closed its end: leaving closes the lifeline, and the browser goes.
  if (first != WAIT_OBJECT_0 + 1) ExitProcess(0);
  // The browser closed its end: it is ending, and the module sees the end with ours.
  ExitProcess(DWORD(exitStatusOf(side)));
}

int run() {
  const std::vector<WideString> arguments = browserArguments();
  if (arguments.size() == 1 && arguments[0] == u"--help") {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::optional<WideString> script = windowsPathOf(ONDREL_WINE_CHROMIUM_UNIX_SIDE);
  std::optional<WideString> root = environmentVariable(L"ONDREL_WINE_CHROMIUM_ROOT");
  if (!root) root = windowsPathOf("/tmp");
  if (!script || !root) return fail(kNotUnderWine, "no Unix file names: this runs under wine only");

  std::string failed;
  const std::optional<UnixLaunch> launch = unixLaunchOf(arguments, unixPathOf, failed);
  if (!launch) return fail(kNoUnixFileName, "no Unix file name for " + failed);
  const HANDLE fromModule = launch->takesPipe ? descriptorHandle(3) : nullptr;
  const HANDLE toModule = launch->takesPipe ? descriptorHandle(4) : nullptr;
  if (launch->takesPipe && (fromModule == nullptr || toModule == nullptr)) {
    return fail(kNoPipe, "--remote-debugging-pipe without descriptors 3 and 4");
  }

  std::vector<std::string> command = {unixProgram()};
  command.insert(command.end(), launch->arguments.begin(), launch->arguments.end());
  std::string error;
  std::optional<UnixSide> side = UnixSide::start(*root, *script, command, launch->takesPipe, error);
  if (!side) return fail(kNoUnixHalf, error);
  if (launch->takesPipe) relayUntilEitherCloses(*side, fromModule, toModule);
  return exitStatusOf(*side);
}

}  // namespace
}  // namespace ondrel::wine_chromium

int main() { return ondrel::wine_chromium::run(); }
