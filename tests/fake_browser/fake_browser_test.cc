#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "tests/fake_browser/browser_command_line.h"
#include "tests/support/browser_log.h"
#include "tests/support/fake_browser_env.h"
#include "tests/support/png_writer.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void writeFile(const fs::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

// Files are compared whole, but a mismatch shows only where they part, not kilobytes of PNG.
::testing::AssertionResult sameBytes(const std::string& actual, const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  const auto [differs, ignored] =
      std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  return ::testing::AssertionFailure()
         << actual.size() << " bytes where " << expected.size() << " were expected, first "
         << "difference at byte " << (differs - actual.begin());
}

std::string firstHalf(const std::string& bytes) { return bytes.substr(0, bytes.size() / 2); }

std::string scratchName() {
  std::random_device random;
  return "ondrel-fake-browser-test-" + std::to_string(random()) + std::to_string(random());
}

// Runs the built fake browser through the shell (cmd.exe on Windows) with the environment this
// fixture sets; both shells keep double-quoted arguments whole.
class FakeBrowserRun : public ::testing::Test {
 protected:
  void SetUp() override {
    scratch_ = fs::temp_directory_path() / scratchName();
    fs::create_directories(scratch_);
    log_ = scratch_ / "browser.log";
    setEnvironment(kFakeBrowserLogVariable, log_.string());
  }

  void TearDown() override {
    // Literals outlive the process, so the environment never points at freed memory.
    putenv(const_cast<char*>("ONDREL_FAKE_BROWSER_LOG="));
    putenv(const_cast<char*>("ONDREL_FAKE_BROWSER_MODE="));
    std::error_code ignored;
    fs::remove_all(scratch_, ignored);
  }

  void setMode(const std::string& mode) { setEnvironment(kFakeBrowserModeVariable, mode); }

  int runBrowser(const std::vector<std::string>& args) const {
    const std::string program = fs::absolute(ONDREL_FAKE_BROWSER_PROGRAM).make_preferred().string();
    // cmd.exe keeps the quotes of the arguments only when the line does not start with one.
    EXPECT_EQ(program.find(' '), std::string::npos) << "the program path must not need quotes";
    std::string command = program;
    for (const std::string& arg : args) command += " \"" + arg + "\"";
    return std::system(command.c_str());
  }

  std::vector<std::string> captureArgs(int width, int height, const fs::path& page) const {
    return {"--headless", "--window-size=" + std::to_string(width) + "," + std::to_string(height),
            "--screenshot=" + screenshot().string(), page.string()};
  }

  fs::path screenshot() const { return scratch_ / "shot.png"; }
  fs::path pageWithText(const std::string& name, const std::string& text) const {
    writeFile(scratch_ / name, text);
    return scratch_ / name;
  }

  fs::path scratch_;
  fs::path log_;

 private:
  // putenv keeps the very string it is given and compares against it on the next call, so no
  // entry may go away while it can still be in the environment: the list never moves them and
  // TearDown puts literals in their place before the fixture ends.
  void setEnvironment(const char* name, const std::string& value) {
    putenv(environmentEntries_.emplace_back(std::string(name) + "=" + value).data());
  }

  std::list<std::string> environmentEntries_;
};

TEST_F(FakeBrowserRun, ModesWriteWhatTheirNamesPromise) {
  struct Case {
    const char* mode;
    int windowWidth, windowHeight;
    std::optional<std::string> expected;  // nullopt: no file at all
  } cases[] = {
      {"", 40, 30, encodePng(patternImage(40, 30, 7))},
      {"normal", 3, 1, encodePng(patternImage(3, 1, 7))},
      {"larger", 40, 30, encodePng(patternImage(56, 38, 7))},
      {"smaller", 41, 30, encodePng(patternImage(20, 15, 7))},
      {"smaller", 1, 3, encodePng(patternImage(1, 1, 7))},
      {"not-png", 40, 30, "this is not a png\n"},
      {"truncated-png", 40, 30, firstHalf(encodePng(patternImage(40, 30, 7)))},
      {"no-screenshot", 40, 30, std::nullopt},
  };
  const fs::path page = pageWithText("page.html", "<p>seed:7</p>");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("mode \"") + c.mode + "\"");
    setMode(c.mode);
    fs::remove(screenshot());
    EXPECT_EQ(runBrowser(captureArgs(c.windowWidth, c.windowHeight, page)), 0);
    ASSERT_EQ(fs::exists(screenshot()), c.expected.has_value());
    if (c.expected) {
      EXPECT_TRUE(sameBytes(readFile(screenshot()), *c.expected));
    }
  }
}

TEST_F(FakeBrowserRun, PatternSeedComesFromTheLastPageArgument) {
  const fs::path first = pageWithText("first.html", "seed:1");
  const fs::path last = pageWithText("last.svg", "<svg><!-- seed: 300 --></svg>");
  std::vector<std::string> args = captureArgs(4, 2, last);
  args.insert(args.begin(), first.string());
  EXPECT_EQ(runBrowser(args), 0);
  EXPECT_TRUE(sameBytes(readFile(screenshot()), encodePng(patternImage(4, 2, 300 % 256))));

  EXPECT_EQ(runBrowser(captureArgs(4, 2, scratch_ / "missing.html")), 0);
  EXPECT_TRUE(sameBytes(readFile(screenshot()), encodePng(patternImage(4, 2, 0x80))));
}

TEST_F(FakeBrowserRun, RefusesCommandLinesWithoutScreenshotOrWindowSize) {
  const fs::path page = pageWithText("page.html", "");
  const std::string shot = "--screenshot=" + screenshot().string();
  const std::vector<std::vector<std::string>> commandLines = {
      {"--headless", "--window-size=4,2", page.string()},
      {"--headless", "--window-size=4,2", "--screenshot", page.string()},
      {"--headless", shot, page.string()},
      {"--headless", "--window-size=0,2", shot, page.string()},
      {"--headless", "--window-size=4x2", shot, page.string()},
  };
  for (const auto& args : commandLines) {
    SCOPED_TRACE(args[1] + " " + args[2]);
    EXPECT_NE(runBrowser(args), 0);
    EXPECT_FALSE(fs::exists(screenshot()));
  }
  setMode("no-such-mode");
  EXPECT_NE(runBrowser(captureArgs(4, 2, page)), 0);
  EXPECT_FALSE(fs::exists(screenshot()));
}

TEST_F(FakeBrowserRun, RecordsEveryRunWithItsDirectoryAndArguments) {
  const fs::path page = pageWithText("page.html", "");
  const std::vector<std::string> first = captureArgs(4, 2, page);
  const std::vector<std::string> second = {"--headless", "--screenshot=" + screenshot().string()};
  runBrowser(first);
  setMode("no-screenshot");
  runBrowser(second);

  const std::vector<BrowserRun> runs = readBrowserLog(log_);
  ASSERT_EQ(runs.size(), 2u);
  EXPECT_EQ(runs[0].cwd, fs::current_path().string());
  EXPECT_EQ(runs[0].args, first);
  EXPECT_EQ(runs[1].args, second);
}

TEST_F(FakeBrowserRun, RecordsOfConcurrentRunsStayWhole) {
  const fs::path page = pageWithText("page.html", "");
  setMode("no-screenshot");
  constexpr int kRuns = 10;
  std::vector<std::thread> runs;
  for (int i = 0; i < kRuns; ++i) {
    runs.emplace_back([&, i] {
      std::vector<std::string> args = captureArgs(1, 1, page);
      args.front() = "--run=" + std::to_string(i);
      runBrowser(args);
    });
  }
  for (std::thread& run : runs) run.join();

  std::vector<std::string> seen;
  for (const BrowserRun& run : readBrowserLog(log_)) {
    ASSERT_EQ(run.args.size(), 4u);
    EXPECT_EQ(run.args[3], page.string());
    seen.push_back(run.args[0]);
  }
  std::vector<std::string> expected;
  for (int i = 0; i < kRuns; ++i) expected.push_back("--run=" + std::to_string(i));
  std::sort(seen.begin(), seen.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(seen, expected);
}

TEST(BrowserCommandLine, ReadsSwitchesAndPageLikeChromium) {
  const BrowserCommandLine commandLine =
      parseBrowserCommandLine({"first.html", "--headless", "--window-size=1,1", "--window-size=8,6",
                               "--screenshot=C:\\a b\\x=y.png", "second.html"});
  EXPECT_EQ(commandLine.switchValue("headless"), "");
  EXPECT_EQ(commandLine.switchValue("window-size"), "8,6");
  EXPECT_EQ(commandLine.switchValue("screenshot"), "C:\\a b\\x=y.png");
  EXPECT_EQ(commandLine.switchValue("hide-scrollbars"), std::nullopt);
  EXPECT_EQ(commandLine.page, "second.html");

  const BrowserCommandLine ended = parseBrowserCommandLine({"--headless", "--", "--page.html"});
  EXPECT_EQ(ended.page, "--page.html");
  EXPECT_EQ(ended.switches.size(), 1u);
  EXPECT_EQ(parseBrowserCommandLine({"--headless"}).page, std::nullopt);
}

TEST(BrowserCommandLine, WindowSizeNeedsTwoPositiveNumbers) {
  struct Case {
    const char* text;
    std::optional<std::pair<int, int>> size;
  } cases[] = {
      {"800,600", std::pair{800, 600}},
      {"1,16384", std::pair{1, 16384}},
      {"", std::nullopt},
      {"800", std::nullopt},
      {"800x600", std::nullopt},
      {"0,600", std::nullopt},
      {"-800,600", std::nullopt},
      {"+800,600", std::nullopt},
      {"800,600,1", std::nullopt},
      {"800, 600", std::nullopt},
      {"16385,600", std::nullopt},
      {"99999999999,600", std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const std::optional<WindowSize> size = parseWindowSize(c.text);
    ASSERT_EQ(size.has_value(), c.size.has_value());
    if (size) {
      EXPECT_EQ(std::pair(size->width, size->height), *c.size);
    }
  }
}

TEST(SeedOfPage, IsTheNumberAfterTheFirstMarker) {
  struct Case {
    const char* text;
    int seed;
  } cases[] = {
      {"seed:0", 0},
      {"<p>seed: 42</p> seed:9", 42},
      {"seed:\t255x", 255},
      {"seed:256", 0},
      {"seed:123456789012345", 123456789012345 % 256},
      {"", 0x80},
      {"seed", 0x80},
      {"seed: x 5", 0x80},
      {"Seed:5", 0x80},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(seedOfPage(c.text), c.seed);
  }
}

}  // namespace
}  // namespace ondrel::test
