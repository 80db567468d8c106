// Captures on many threads at once through one loaded module, of pages that
// all have the same name in different folders, so that every capture's
// temporary files would collide if they were named after the page alone.
// Each thread must get its own page's picture, and the shared capture folder
// must be left empty. The ThreadSanitizer build (preset "tsan") also reports
// any data the captures share without order.

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <latch>
#include <string>
#include <thread>
#include <vector>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

constexpr int kThreads = 8;
constexpr int kWidth = 48;
constexpr int kHeight = 32;
// Long enough for every capture to start before the first one ends.
constexpr int kBrowserDelayMilliseconds = 500;

std::uint8_t seedOfThread(int thread) { return std::uint8_t(17 + 29 * thread); }

struct Capture {
  int code = -1;
  HandedOverPicture picture;
};

TEST(ConcurrentCaptures, PagesOfTheSameNameKeepTheirOwnPictures) {
  const platform::ComApartment com;
  PluginModule plugin;
  plugin.useFakeBrowser("width=" + std::to_string(kWidth) + "\nheight=" + std::to_string(kHeight) +
                        "\nwaitTime=60\n");
  plugin.setBrowserDelay(kBrowserDelayMilliseconds);
  std::vector<std::u16string> pages;
  for (int i = 0; i < kThreads; ++i) {
    const std::string page = "<html><body>seed:" + std::to_string(seedOfThread(i)) + " folder " +
                             std::to_string(i) +
                             " of a concurrent run, each with a page of its own</body></html>\n";
    pages.push_back(
        plugin.writeFile("folder" + std::to_string(i) + "/page.html", page).u16string());
  }

  std::latch start(kThreads);
  std::vector<Capture> captures(kThreads);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      const platform::ComApartment threadCom;
      start.arrive_and_wait();
      Capture& capture = captures[std::size_t(i)];
      capture.code = plugin.picture(pages[std::size_t(i)], &capture.picture);
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int i = 0; i < kThreads; ++i) {
    const Capture& capture = captures[std::size_t(i)];
    ASSERT_EQ(capture.code, 0) << "thread " << i;
    EXPECT_EQ(differenceFromPattern(capture.picture, kWidth, kHeight, seedOfThread(i)), "")
        << "thread " << i << " got another page's picture";
  }
  EXPECT_EQ(plugin.browserRuns().size(), std::size_t(kThreads));
  EXPECT_EQ(plugin.leftovers(), std::vector<std::string>());
}

// The log and the kept browser's report on many threads: each call's line whole, in one file.
TEST(ConcurrentCaptures, ThreadsLogTheirCallsIntoOneFile) {
  const platform::ComApartment com;
  PluginModule plugin;
  const std::filesystem::path log = plugin.folder() / "ondrel.log";
  // No limit: the kept browser's lock is then taken without a deadline. GCC 12's
  // ThreadSanitizer does not see the timed wait (pthread_mutex_clocklock) take a lock.
  plugin.useFakeBrowser("width=24\nheight=16\nwaitTime=0\nengine=DevTools\nlog=" + log.string() +
                        "\n");
  const std::u16string page = plugin
                                  .writeFile("page.html",
                                             "<html><body>seed:5 a page for every thread, long "
                                             "enough to be a picture</body></html>\n")
                                  .u16string();
  std::latch start(kThreads);
  std::vector<int> codes(kThreads, -1);
  std::vector<std::thread> threads;
  for (int i = 0; i < kThreads; ++i) {
    threads.emplace_back([&, i] {
      const platform::ComApartment threadCom;
      start.arrive_and_wait();
      codes[std::size_t(i)] = plugin.picture(page);
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(codes, std::vector<int>(kThreads, 0));

  std::ifstream in(log, std::ios::binary);
  int calls = 0;
  int starts = 0;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" GetPictureW \"") != std::string::npos) {
      EXPECT_TRUE(line.ends_with(" ms, DevTools engine")) << line;
      ++calls;
    }
    if (line.find(" browser started: ") != std::string::npos) ++starts;
  }
  EXPECT_EQ(calls, kThreads);
  EXPECT_EQ(starts, 1);
}

}  // namespace
}  // namespace ondrel::test
