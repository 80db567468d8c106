// Captures on many threads at once through one loaded module, of pages that
// all have the same name in different folders, so that every capture's
// temporary files would collide if they were named after the page alone.
// Each thread must get its own page's picture, and the shared capture folder
// must be left empty. The ThreadSanitizer build (preset "tsan") also reports
// any data the captures share without order.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
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

// A kept browser drawing several pictures at once, each in a page of its own: every picture must
// be the one its file gives when the pictures are drawn one at a time. Each thread goes through
// the same files in an order of its own, so that at any moment different threads show different
// files and the same file is shown in several pages at once.
TEST(ConcurrentCaptures, PicturesDrawnAtOnceEqualThoseDrawnOneByOne) {
  constexpr int kFiles = 25;
  const platform::ComApartment com;
  PluginModule plugin;
  const std::string settings = "width=" + std::to_string(kWidth) +
                               "\nheight=" + std::to_string(kHeight) +
                               "\nwaitTime=60\nengine=DevTools\nkeepBrowser=60\n";
  std::vector<std::filesystem::path> files;
  for (int i = 0; i < kFiles; ++i) {
    files.push_back(plugin.writeFile("page" + std::to_string(i) + ".html",
                                     "<html><body>seed:" + std::to_string(3 + 7 * i) + " page " +
                                         std::to_string(i) +
                                         " of the pictures drawn at once</body></html>\n"));
  }
  plugin.useFakeBrowser(settings + "parallel=1\n");
  std::vector<std::vector<std::uint8_t>> oneByOne(kFiles);
  for (int i = 0; i < kFiles; ++i) {
    HandedOverPicture picture;
    ASSERT_EQ(plugin.picture(files[std::size_t(i)], &picture), 0) << "file " << i;
    ASSERT_EQ(differenceFromPattern(picture, kWidth, kHeight, std::uint8_t(3 + 7 * i)), "");
    oneByOne[std::size_t(i)] = std::move(picture.pixels);
  }

  plugin.useFakeBrowser(settings + "parallel=8\n");
  std::latch start(kThreads);
  std::vector<std::vector<std::string>> wrong(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      const platform::ComApartment threadCom;
      start.arrive_and_wait();
      for (int n = 0; n < kFiles; ++n) {
        const int file = (n + 3 * t) % kFiles;
        HandedOverPicture picture;
        const int code = plugin.picture(files[std::size_t(file)], &picture);
        if (code != 0 || picture.pixels != oneByOne[std::size_t(file)]) {
          wrong[std::size_t(t)].push_back("file " + std::to_string(file) + ": result " +
                                          std::to_string(code));
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(wrong, std::vector<std::vector<std::string>>(kThreads));
  // All of them in the one kept browser.
  EXPECT_EQ(plugin.browserRuns().size(), std::size_t(1));
  EXPECT_EQ(plugin.leftovers(), std::vector<std::string>());
}

// A page whose script never ends holds only its own place: pictures asked for meanwhile on
// another thread are drawn beside it, within their own limit, which they would not be if they
// waited for its, and the browser is kept for them.
TEST(ConcurrentCaptures, AHungPageDoesNotHoldUpTheOthers) {
  const platform::ComApartment com;
  PluginModule plugin;
  const std::filesystem::path log = plugin.folder() / "ondrel.log";
  // The default of two pictures at once.
  plugin.useFakeBrowser("width=24\nheight=16\nwaitTime=3\nengine=DevTools\nlog=" + log.string() +
                        "\n");
  const std::filesystem::path endless =
      plugin.writeFile("endless.html",
                       "<html><body>seed:9 renderer:hangs-before-load a script that never "
                       "ends</body></html>\n");
  const std::filesystem::path page = plugin.writeFile(
      "page.html", "<html><body>seed:5 a page drawn beside the one that hangs</body></html>\n");
  // Warm, so that the hung page's picture does not start the browser for the others.
  ASSERT_EQ(plugin.picture(page), 0);

  std::atomic<bool> hungIsOver = false;
  int hungCode = -1;
  std::thread hung([&] {
    const platform::ComApartment threadCom;
    hungCode = plugin.picture(endless);
    hungIsOver = true;
  });
  // Time for the hung page to be shown before the others are asked for.
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
  // Each picture's own limit is 3 s; the hung page takes all of its own. Waiting for the hung
  // page would cost the first of these pictures its whole limit; drawn beside it, four pictures
  // are done before the hung page gives up.
  std::vector<int> codes;
  int beforeHungEnded = 0;
  for (int i = 0; i < 4; ++i) {
    codes.push_back(plugin.picture(page));
    if (!hungIsOver) ++beforeHungEnded;
  }
  hung.join();
  EXPECT_EQ(codes, std::vector<int>(4, 0));
  EXPECT_EQ(hungCode, 6);
  EXPECT_GT(beforeHungEnded, 0);
  EXPECT_EQ(plugin.browserRuns().size(), std::size_t(1));

  std::ifstream in(log, std::ios::binary);
  std::vector<std::string> failures;
  for (std::string line; std::getline(in, line);) {
    if (line.find(" result 6 ") != std::string::npos) failures.push_back(line);
  }
  ASSERT_EQ(failures.size(), std::size_t(1));
  EXPECT_NE(failures[0].find("endless.html"), std::string::npos) << failures[0];
  EXPECT_NE(failures[0].find("page dropped, browser kept"), std::string::npos) << failures[0];
}

}  // namespace
}  // namespace ondrel::test
