// The stand-in with Unix programs of the tests' own in its browser's place
// (ONDREL_WINE_CHROMIUM_BROWSER=/bin/sh, with a script as the arguments):
// the names it passes, the end it waits for, the bytes it relays, and that
// nothing of a run outlives the stand-in.

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "platform/child_process.h"
#include "platform/host_support.h"
#include "platform/piped_child.h"
#include "tests/support/environment.h"
#include "tests/wine-chromium/stand_in_status.h"
#include "tests/wine-chromium/unix_paths.h"
#include "tests/wine-chromium/unix_run_folder.h"

namespace ondrel::wine_chromium {
namespace {

using std::chrono::seconds;

const std::filesystem::path kStandIn = std::filesystem::path(ONDREL_WINE_CHROMIUM).make_preferred();

WideString commandLine(const std::string& arguments) {
  return utf8ToWide("\"" + kStandIn.string() + "\" " + arguments);
}

class StandInTest : public ::testing::Test {
 protected:
  StandInTest() { useUnixProgram("/bin/sh"); }
  ~StandInTest() override { test::unsetEnvironmentVariable("ONDREL_WINE_CHROMIUM_BROWSER"); }

  void useUnixProgram(const std::string& program) {
    platform::setEnvironmentVariable("ONDREL_WINE_CHROMIUM_BROWSER", program);
  }

  // Runs the stand-in with `arguments` to its end; its exit status.
  static DWORD runToEnd(const std::string& arguments) {
    WideString line = commandLine(arguments);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(nullptr, reinterpret_cast<wchar_t*>(line.data()), nullptr, nullptr, FALSE,
                        0, nullptr, nullptr, &startup, &started)) {
      ADD_FAILURE() << "cannot start " << kStandIn;
      return DWORD(-1);
    }
    WaitForSingleObject(started.hProcess, INFINITE);
    DWORD status = 0;
    GetExitCodeProcess(started.hProcess, &status);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return status;
  }

  // A file in a fresh folder of the Windows temporary folder, which is on drive C:.
  std::filesystem::path windowsFile(const std::string& name) {
    scratch_ = std::filesystem::temp_directory_path() /
               ("ondrel-stand-in-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(scratch_);
    return scratch_ / name;
  }

  void TearDown() override {
    run.waitUntilEmpty(seconds(10));
    EXPECT_EQ(run.processes(), std::vector<long>());
    EXPECT_EQ(run.entries(), std::vector<std::string>());
    std::error_code error;
    if (!scratch_.empty()) std::filesystem::remove_all(scratch_, error);
  }

  UnixRunFolder run;

 private:
  std::filesystem::path scratch_;
};

std::string readAll(const std::filesystem::path& file) {
  std::ifstream stream(file, std::ios::binary);
  std::ostringstream bytes;
  bytes << stream.rdbuf();
  return bytes.str();
}

// The program writes its arguments a second after it started: a stand-in that ended before
// it would find no file.
TEST_F(StandInTest, PassesUnixNamesAndEndsWithTheProgramAndItsStatus) {
  const std::filesystem::path seen = windowsFile("seen.txt");
  const std::filesystem::path shot = windowsFile("shot.png");
  const DWORD status =
      runToEnd("-c \"sleep 1; printf '%s\\n' \\\"$@\\\" >\\\"$1\\\"; exit 7\" sh \"" +
               seen.string() + "\" --screenshot=" + shot.string());
  EXPECT_EQ(status, 7u);
  EXPECT_EQ(readAll(seen), unixPathOf(seen.u16string()).value() +
                               "\n--screenshot=" + unixPathOf(shot.u16string()).value() + "\n");
}

TEST_F(StandInTest, ANameWithoutUnixFormEndsItAtOnce) {
  EXPECT_EQ(runToEnd("-c \"exit 0\" sh Q:\\nowhere\\page.html"), DWORD(kNoUnixFileName));
}

TEST_F(StandInTest, AProgramThatCannotStartEndsIt) {
  useUnixProgram("/nonexistent/browser");
  EXPECT_NE(runToEnd("--headless"), 0u);
}

// Every byte value, NUL included, in more than one of the relay's reads.
std::string allByteValues(std::size_t size) {
  std::string bytes(size, '\0');
  for (std::size_t i = 0; i < size; ++i) bytes[i] = char((i * 7 + i / 256) % 256);
  return bytes;
}

// Started as the module starts a DevTools browser: C-runtime descriptors 3 and 4, a job.
std::optional<platform::PipedChild> startPiped(const std::string& script) {
  return platform::PipedChild::start(commandLine("-c \"" + script + "\" --remote-debugging-pipe"),
                                     std::filesystem::current_path().u16string());
}

TEST_F(StandInTest, RelaysThePipeUnchangedBothWays) {
  std::optional<platform::PipedChild> standIn = startPiped("cat <&3 >&4");
  ASSERT_TRUE(standIn);
  const platform::Deadline deadline = platform::Deadline::after(seconds(60));
  const std::string sent = allByteValues(700 * 1024);
  ASSERT_EQ(standIn->send(sent, deadline), platform::PipeStatus::kDone);
  std::string received;
  while (received.size() < sent.size() &&
         standIn->receive(received, deadline) == platform::PipeStatus::kDone) {
  }
  EXPECT_TRUE(received == sent) << received.size() << " bytes came back of " << sent.size();
  // Killed in its job, as the module ends a browser: the program goes too (see TearDown).
  standIn->kill();
}

TEST_F(StandInTest, TheProgramClosingItsEndEndsTheStandIn) {
  std::optional<platform::PipedChild> standIn = startPiped("head -c 5 <&3 >&4");
  ASSERT_TRUE(standIn);
  const platform::Deadline deadline = platform::Deadline::after(seconds(60));
  ASSERT_EQ(standIn->send("hello, world", deadline), platform::PipeStatus::kDone);
  std::string received;
  platform::PipeStatus status = platform::PipeStatus::kDone;
  while (status == platform::PipeStatus::kDone) status = standIn->receive(received, deadline);
  EXPECT_EQ(status, platform::PipeStatus::kClosed);
  EXPECT_EQ(received, "hello");
  EXPECT_TRUE(standIn->waitForEnd(deadline));
}

// The one-shot engine's browser runs in no job: the module's kill at its time limit reaches the
// stand-in alone, and the Unix half ends the program.
TEST_F(StandInTest, AKilledStandInTakesTheProgramWithIt) {
  std::optional<platform::ChildProcess> standIn = platform::ChildProcess::start(
      commandLine("-c \"sleep 600; exit 0\""), std::filesystem::current_path().u16string());
  ASSERT_TRUE(standIn);
  const auto deadline = std::chrono::steady_clock::now() + seconds(30);
  while (run.processesOf("sleep").empty() && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  ASSERT_FALSE(run.processesOf("sleep").empty());
  standIn->terminateAndWait();
}

}  // namespace
}  // namespace ondrel::wine_chromium
