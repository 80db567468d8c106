// The Windows module's one-shot engine under wine, with the real Chromium
// behind the stand-in: its pictures are the Linux build's, pixel for pixel,
// whatever name the document comes by, and a browser that dies or runs past
// its time leaves nothing behind.

#include <chrono>
#include <thread>

#include "tests/browser/known_colours.h"
#include "tests/wine-chromium/chromium_under_wine.h"

namespace ondrel::wine_chromium {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

constexpr char kSet[] = "one-shot-640x480";

// The browser never gets to its screenshot.
constexpr char kEndlessPage[] =
    "<html><body><script>for (;;) {}</script>never loaded</body></html>\n";

class OneShotChromiumTest : public ChromiumUnderWine {};

TEST_F(OneShotChromiumTest, SamplesAndASmallDrawingAreTheLinuxBuildsPictures) {
  useSettings(kSet);
  for (const auto& page : samplesAndSmallDrawing()) {
    const test::HandedOverPicture result = picture(page);
    EXPECT_EQ(differenceFromLinux(result, kSet, page), "") << page;
  }
  // The drawing at its own size, its last row (the band) included.
  const test::HandedOverPicture icon = picture(document("icon-123.svg"));
  ASSERT_EQ(icon.header.width, 120);
  ASSERT_EQ(icon.header.height, 123);
  test::expectColourAt(icon, 60, 122, test::kIconBand);
}

TEST_F(OneShotChromiumTest, EachKindByItsShortName) {
  useSettings(kSet);
  for (const auto& page : samplesAndSmallDrawing()) {
    const std::filesystem::path shortName = shortNamedCopy(page, plugin.folder());
    ASSERT_EQ(shortName.filename().string().find(' '), std::string::npos) << shortName;
    const test::HandedOverPicture result = picture(shortName);
    EXPECT_EQ(differenceFromLinux(result, kSet, page), "") << shortName;
  }
}

TEST_F(OneShotChromiumTest, TwoViewerThreadsAtOnce) {
  useSettings(kSet);
  const std::array<std::filesystem::path, 2> pages = {example("page.html"), example("drawing.svg")};
  std::array<test::HandedOverPicture, 2> results;
  const std::array<int, 2> codes = plugin.picturesAtOnce(pages, results);
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(codes[i], 0) << pages[i];
    EXPECT_EQ(differenceFromLinux(results[i], kSet, pages[i]), "") << pages[i];
  }
}

// The module sees the end of the stand-in, which ends with the browser: the call ends at once,
// not at the time limit, and without a picture.
TEST_F(OneShotChromiumTest, ABrowserKilledInThePictureEndsIt) {
  useSettings(kSet);
  const auto page = plugin.writeFile("endless.html", kEndlessPage);
  Clock::time_point killed{};
  std::thread killer([&] {
    const auto deadline = Clock::now() + seconds(30);
    while (run.chromiumProcesses().size() < 2 && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    std::this_thread::sleep_for(seconds(1));
    const std::vector<long> browser = run.chromiumProcesses();
    EXPECT_FALSE(browser.empty());
    killed = Clock::now();
    EXPECT_TRUE(killUnixProcesses(browser, seconds(10)));
  });
  EXPECT_EQ(plugin.picture(page), 6);
  const auto returned = Clock::now();
  killer.join();
  EXPECT_LT(returned - killed, seconds(30));  // half the time limit
}

// At the time limit the module kills the stand-in alone (the one-shot engine starts no job);
// the Unix half then kills the browser with everything it started.
TEST_F(OneShotChromiumTest, ABrowserPastItsTimeIsStoppedWithItsHelpers) {
  useSettings(kSet, "waitTime=3\n");
  const auto page = plugin.writeFile("endless.html", kEndlessPage);
  EXPECT_EQ(plugin.picture(page), 6);
}

}  // namespace
}  // namespace ondrel::wine_chromium
