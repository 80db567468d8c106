// The log file: one write per call appended with sharing, whole lines from many threads at
// once, the rename to NAME.1 above the limit, and paths it must not write.

#include "platform/log_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <thread>
#include <vector>

#include "platform/local_time.h"

#ifndef _WIN32
#include <unistd.h>
#endif

namespace ondrel::platform {
namespace {

std::string contents(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class LogFileTest : public ::testing::Test {
 protected:
  LogFileTest() {
    std::random_device entropy;
    folder_ = std::filesystem::temp_directory_path() /
              ("ondrel-log-test-" + std::to_string(entropy()) + std::to_string(entropy()));
    std::filesystem::create_directories(folder_);
  }
  ~LogFileTest() override { std::filesystem::remove_all(folder_); }

  WideString path(const std::string& name = "ondrel.log") const {
    return (folder_ / name).u16string();
  }

  std::filesystem::path folder_;
};

TEST_F(LogFileTest, LinesAreAppendedToAFileMadeWhenMissing) {
  ASSERT_TRUE(appendToLog(path(), "one\n", 1000));
  ASSERT_TRUE(appendToLog(path(), "two\nthree\n", 1000));
  EXPECT_EQ(contents(folder_ / "ondrel.log"), "one\ntwo\nthree\n");
}

TEST_F(LogFileTest, ManyThreadsAppendWholeLines) {
  constexpr int kThreads = 8;
  constexpr int kLines = 200;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i) {
        const std::string line =
            "thread " + std::to_string(t) + " line " + std::to_string(i) + std::string(100, '.');
        EXPECT_TRUE(appendToLog(path(), line + "\n" + line + " again\n", 1u << 30));
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  std::ifstream in(folder_ / "ondrel.log", std::ios::binary);
  std::vector<int> seen(kThreads, 0);
  const std::regex shape(R"(^thread (\d) line (\d+)\.{100}$)");
  for (std::string line, again; std::getline(in, line);) {
    std::smatch match;
    ASSERT_TRUE(std::regex_match(line, match, shape)) << line;
    // One call's lines stay together.
    ASSERT_TRUE(std::getline(in, again));
    EXPECT_EQ(again, line + " again");
    ++seen[std::stoi(match[1])];
  }
  EXPECT_EQ(seen, std::vector<int>(kThreads, kLines));
}

TEST_F(LogFileTest, AFullLogBecomesNameDotOneReplacingTheOldOne) {
  std::ofstream(folder_ / "ondrel.log.1", std::ios::binary) << "oldest\n";
  ASSERT_TRUE(appendToLog(path(), std::string(90, 'a') + "\n", 100));
  // The size before each write counts: 91, 93 and 95 bytes are below the limit.
  ASSERT_TRUE(appendToLog(path(), "b\n", 100));
  ASSERT_TRUE(appendToLog(path(), "c\n", 100));
  ASSERT_TRUE(appendToLog(path(), std::string(10, 'd') + "\n", 100));
  EXPECT_EQ(contents(folder_ / "ondrel.log.1"), "oldest\n");
  // 106 bytes are not: the file is renamed first.
  ASSERT_TRUE(appendToLog(path(), "e\n", 100));
  EXPECT_EQ(contents(folder_ / "ondrel.log.1"),
            std::string(90, 'a') + "\nb\nc\n" + std::string(10, 'd') + "\n");
  EXPECT_EQ(contents(folder_ / "ondrel.log"), "e\n");
}

TEST_F(LogFileTest, APathThatCannotBeWrittenIsRefused) {
  EXPECT_FALSE(appendToLog(folder_.u16string(), "x\n", 1000));
  EXPECT_FALSE(appendToLog(path("missing/ondrel.log"), "x\n", 1000));
  EXPECT_FALSE(std::filesystem::exists(folder_ / "missing"));
}

#ifndef _WIN32
TEST_F(LogFileTest, APlantedLinkOrAnotherUsersFileIsNeverWritten) {
  std::ofstream(folder_ / "target", std::ios::binary) << "private\n";
  std::filesystem::create_symlink(folder_ / "target", folder_ / "ondrel.log");
  EXPECT_FALSE(appendToLog(path(), "x\n", 1000));
  EXPECT_EQ(contents(folder_ / "target"), "private\n");

  if (geteuid() != 0) GTEST_SKIP() << "giving a file to another user needs root";
  std::ofstream(folder_ / "theirs.log", std::ios::binary) << "theirs\n";
  ASSERT_EQ(chown((folder_ / "theirs.log").c_str(), 12345, 12345), 0);
  EXPECT_FALSE(appendToLog(path("theirs.log"), "x\n", 1000));
  EXPECT_EQ(contents(folder_ / "theirs.log"), "theirs\n");
}
#endif

TEST(LocalTime, IsDateAndTimeWithMilliseconds) {
  const std::string now = localTimestamp(std::chrono::system_clock::now());
  EXPECT_TRUE(std::regex_match(now, std::regex(R"(\d{4}-\d\d-\d\d \d\d:\d\d:\d\d\.\d{3})"))) << now;
  const auto second = std::chrono::system_clock::from_time_t(1700000000);
  const std::string later = localTimestamp(second + std::chrono::milliseconds(250));
  EXPECT_EQ(later.substr(later.size() - 4), ".250");
  EXPECT_EQ(localTimestamp(second).substr(0, 19), later.substr(0, 19));
}

}  // namespace
}  // namespace ondrel::platform
