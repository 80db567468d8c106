#include "tests/wine-chromium/unix_side.h"

#include <charconv>
#include <chrono>
#include <utility>

#include "tests/wine-chromium/unix_paths.h"

namespace ondrel::wine_chromium {
namespace {

using platform::KernelHandle;

// The Unix half starts in milliseconds; a machine busy with builds may take seconds.
constexpr std::chrono::seconds kReadyWithin{30};
constexpr DWORD kReadyPollMilliseconds = 2;
constexpr int kFolderAttempts = 100;

const wchar_t* native(const WideString& text) {
  return reinterpret_cast<const wchar_t*>(text.c_str());
}

bool exists(const WideString& path) {
  return GetFileAttributesW(native(path)) != INVALID_FILE_ATTRIBUTES;
}

// The run's folder, removed with what the stand-in wrote into it unless the
// Unix half has taken it over: from then on that removes it.
class RunFolder {
 public:
  // A name nobody else made: CreateDirectoryW fails on anything already there.
  static std::optional<RunFolder> make(const WideString& root) {
    const WideString stem =
        root + u"\\b" + widenAscii(std::to_string(GetCurrentProcessId())) + u"-";
    for (int attempt = 1; attempt <= kFolderAttempts; ++attempt) {
      RunFolder folder(stem + widenAscii(std::to_string(attempt)));
      if (CreateDirectoryW(native(folder.path_), nullptr)) return folder;
      folder.handOver();
      if (GetLastError() != ERROR_ALREADY_EXISTS) return std::nullopt;
    }
    return std::nullopt;
  }

  RunFolder(RunFolder&& other) noexcept
      : path_(std::move(other.path_)), handedOver_(std::exchange(other.handedOver_, true)) {}
  RunFolder(const RunFolder&) = delete;
  RunFolder& operator=(const RunFolder&) = delete;
  ~RunFolder() {
    if (handedOver_) return;
    for (const char16_t* name : {u"\\command", u"\\pipe"}) DeleteFileW(native(path_ + name));
    RemoveDirectoryW(native(path_));
  }

  const WideString& path() const { return path_; }
  void handOver() { handedOver_ = true; }

 private:
  explicit RunFolder(WideString path) : path_(std::move(path)) {}

  WideString path_;
  bool handedOver_ = false;
};

bool writeNewFile(const WideString& path, const std::string& bytes) {
  const KernelHandle file(CreateFileW(native(path), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return false;
  DWORD written = 0;
  return bytes.empty() ||
         (WriteFile(file.get(), bytes.data(), DWORD(bytes.size()), &written, nullptr) &&
          written == bytes.size());
}

std::string nulEnded(const std::vector<std::string>& parts) {
  std::string bytes;
  for (const std::string& part : parts) {
    bytes += part;
    bytes += '\0';
  }
  return bytes;
}

// One argument quoted the way the Windows start-up code splits it again,
// which is how wine hands a command line to a Unix program.
void appendQuoted(WideString& line, WideView argument) {
  line += u'"';
  std::size_t backslashes = 0;
  for (const char16_t c : argument) {
    if (c == u'\\') {
      ++backslashes;
      continue;
    }
    line.append(c == u'"' ? 2 * backslashes + 1 : backslashes, u'\\');
    backslashes = 0;
    line += c;
  }
  line.append(2 * backslashes, u'\\');
  line += u'"';
}

// wine starts a Unix program as a Unix process of its own: the handles it
// returns wait for nothing and are closed at once.
bool startUnixProgram(const WideString& program, const std::string& argument) {
  WideString line;
  appendQuoted(line, program);
  line += u' ';
  appendQuoted(line, utf8ToWide(argument));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessW(nullptr, const_cast<wchar_t*>(native(line)), nullptr, nullptr, FALSE, 0,
                      nullptr, nullptr, &startup, &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
  return true;
}

// The empty file `ready`; false when the time runs out or the Unix half gave
// up, which removes the folder.
bool waitUntilReady(const WideString& folder) {
  const auto deadline = std::chrono::steady_clock::now() + kReadyWithin;
  while (!exists(folder + u"\\ready")) {
    if (!exists(folder) || std::chrono::steady_clock::now() > deadline) return false;
    Sleep(kReadyPollMilliseconds);
  }
  return true;
}

KernelHandle openFifo(const WideString& path, DWORD access) {
  return KernelHandle(CreateFileW(native(path), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

}  // namespace

std::optional<UnixSide> UnixSide::start(const WideString& root, const WideString& script,
                                        const std::vector<std::string>& command, bool pipe,
                                        std::string& error) {
  std::optional<RunFolder> run = RunFolder::make(root);
  if (!run) {
    error = "cannot make a folder in " + wideToUtf8(root);
    return std::nullopt;
  }
  const WideString& folder = run->path();
  const std::optional<std::string> unixFolder = unixPathOf(folder);
  if (!unixFolder || !writeNewFile(folder + u"\\command", nulEnded(command)) ||
      (pipe && !writeNewFile(folder + u"\\pipe", ""))) {
    error = "cannot prepare " + wideToUtf8(folder);
    return std::nullopt;
  }
  if (!startUnixProgram(script, *unixFolder)) {
    error = "cannot start " + wideToUtf8(script);
    return std::nullopt;
  }
  run->handOver();
  if (!waitUntilReady(folder)) {
    error = "the Unix half in " + *unixFolder + " did not get ready";
    return std::nullopt;
  }

  UnixSide side;
  side.report_ = openFifo(folder + u"\\report", GENERIC_READ);
  side.lifeline_ = openFifo(folder + u"\\lifeline", GENERIC_WRITE);
  if (pipe) {
    side.fromBrowser_ = openFifo(folder + u"\\from-browser", GENERIC_READ);
    side.toBrowser_ = openFifo(folder + u"\\to-browser", GENERIC_WRITE);
  }
  DWORD written = 0;
  if (!side.report_.valid() || !side.lifeline_.valid() ||
      (pipe && (!side.fromBrowser_.valid() || !side.toBrowser_.valid())) ||
      !WriteFile(side.lifeline_.get(), "+", 1, &written, nullptr) || written != 1) {
    error = "cannot open the FIFOs in " + *unixFolder;
    return std::nullopt;
  }
  return side;
}

std::optional<int> UnixSide::exitStatus() {
  std::string text;
  char chunk[64];
  DWORD got = 0;
  while (ReadFile(report_.get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
    text.append(chunk, got);
  int status = 0;
  const auto [end, problem] = std::from_chars(text.data(), text.data() + text.size(), status);
  if (problem != std::errc() || end == text.data()) return std::nullopt;
  return status;
}

}  // namespace ondrel::wine_chromium
