// Hostile pages in the DevTools engine, with the fake browser on its pipe (natively and under
// wine): a page whose renderer crashes or whose session detaches ends its picture at once,
// whatever waitTime is; a page that opens a dialog as it loads is answered and photographed; a
// page that hangs costs only its own context. After each the next picture is right and comes from
// the same kept browser, and nothing stays behind.

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include <nlohmann/json.hpp>

#include "tests/plugin/handed_over_picture.h"
#include "tests/support/fake_devtools_fixture.h"
#include "tests/support/process_end.h"

namespace ondrel::test {
namespace {

using std::chrono::milliseconds;
using std::chrono::seconds;

// A page of the pattern with `seed`, telling the fake browser what else it does
// (tests/fake_browser/page_directions.h).
std::string page(int seed, const std::string& directions = "") {
  return "<html><body>seed:" + std::to_string(seed) + " " + directions +
         " a page long enough to be a picture</body></html>\n";
}

class HostilePagesTest : public FakeDevToolsFixture {
 protected:
  void useEngine(int keepSeconds, int waitSeconds) {
    plugin.useFakeBrowser(
        "engine=DevTools\nwidth=24\nheight=16\nkeepBrowser=" + std::to_string(keepSeconds) +
        "\nwaitTime=" + std::to_string(waitSeconds) + "\n");
  }

  struct Outcome {
    int code = -1;
    milliseconds took{0};
  };

  // GetPictureW of a new page of `text`, bounded by the test's own watchdog: a call still running
  // after `limit` fails the test, and its browsers are killed until the call ends.
  Outcome timedPicture(const std::string& name, const std::string& text, seconds limit) {
    const auto file = plugin.writeFile(name, text);
    const auto start = std::chrono::steady_clock::now();
    std::future<int> call = std::async(std::launch::async, [&] {
      const platform::ComApartment threadCom;
      return plugin.picture(file);
    });
    if (call.wait_for(limit) != std::future_status::ready) {
      ADD_FAILURE() << name << " still had no result after " << limit.count() << " s";
      // A kept browser that went is replaced once for the picture: that one is killed too.
      do {
        for (const BrowserRun& run : plugin.browserRuns()) killProcess(run.pid);
      } while (call.wait_for(milliseconds(500)) != std::future_status::ready);
    }
    const int code = call.get();
    return {code,
            std::chrono::duration_cast<milliseconds>(std::chrono::steady_clock::now() - start)};
  }

  // Takes the picture of a new page with `seed` and checks it is that page's.
  void expectPicture(int seed, const std::string& context) {
    const auto file = plugin.writeFile("page" + std::to_string(seed) + ".html", page(seed));
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(file, &result), 0) << context;
    EXPECT_EQ(differenceFromPattern(result, 24, 16, std::uint8_t(seed)), "") << context;
  }

  // A kept browser holds one context beyond those disposed of: the next picture's.
  int contextsLeft() const {
    return timesSent("Target.createBrowserContext") - timesSent("Target.disposeBrowserContext");
  }

  // The session a page of `name` was shown in.
  std::string sessionShowing(const std::string& name) const {
    for (const nlohmann::json& command : commands()) {
      if (command["method"] == "Page.navigate" &&
          command["params"]["url"].get<std::string>().ends_with("/" + name)) {
        return command["sessionId"];
      }
    }
    return {};
  }
};

TEST_F(HostilePagesTest, ACrashingPageEndsItsPictureAtOnceWhateverTheLimit) {
  int seed = 10;
  for (const int keepSeconds : {60, 0}) {
    for (const int waitSeconds : {30, 0}) {
      const std::string context =
          "keepBrowser=" + std::to_string(keepSeconds) + " waitTime=" + std::to_string(waitSeconds);
      useEngine(keepSeconds, waitSeconds);
      const std::size_t runs = plugin.browserRuns().size();
      ++seed;
      const Outcome crashed = timedPicture("crash" + std::to_string(seed) + ".html",
                                           page(seed, "renderer:crashes"), seconds(20));
      EXPECT_EQ(crashed.code, 6) << context;
      // The renderer dies as the page loads; what time there is goes to starting a browser.
      EXPECT_LT(crashed.took, seconds(4)) << context;
      expectPicture(++seed, context + ", the page after");
      if (keepSeconds > 0) {
        EXPECT_EQ(plugin.browserRuns().size(), std::max<std::size_t>(runs, 1)) << context;
        EXPECT_EQ(contextsLeft(), 1) << context;
      }
    }
  }
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(HostilePagesTest, APageWhoseSessionDetachesEndsItsPictureAtOnce) {
  useEngine(60, 0);
  expectPicture(1, "before");
  const Outcome detached = timedPicture("detaches.html", page(2, "renderer:detaches"), seconds(20));
  EXPECT_EQ(detached.code, 6);
  EXPECT_LT(detached.took, seconds(2));
  expectPicture(3, "after");
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(HostilePagesTest, DialogsAtLoadAreAnsweredAndThePagePhotographed) {
  useEngine(60, 5);
  int seed = 20;
  for (const std::string kind : {"alert", "confirm", "prompt", "beforeunload"}) {
    const std::string name = kind + ".html";
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(plugin.writeFile(name, page(++seed, "dialog:" + kind)), &result), 0)
        << kind;
    EXPECT_EQ(differenceFromPattern(result, 24, 16, std::uint8_t(seed)), "") << kind;

    std::vector<nlohmann::json> answers;
    for (const nlohmann::json& command : commands()) {
      if (command["method"] == "Page.handleJavaScriptDialog" &&
          command["sessionId"] == sessionShowing(name)) {
        answers.push_back(command["params"]);
      }
    }
    nlohmann::json accepted = {{"accept", true}};
    if (kind == "prompt") accepted["promptText"] = "";
    EXPECT_EQ(answers, std::vector<nlohmann::json>{accepted}) << kind;
    expectPicture(++seed, "after the " + kind);
  }
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
  plugin.unload();
  expectNothingLeft("after unload");
}

TEST_F(HostilePagesTest, AHungPageCostsOnlyItsOwnContext) {
  useEngine(60, 1);
  expectPicture(1, "first");
  int seed = 1;
  for (const std::string when : {"before", "after"}) {
    const Outcome hung = timedPicture(
        "hung-" + when + ".html", page(++seed, "renderer:hangs-" + when + "-load"), seconds(20));
    EXPECT_EQ(hung.code, 6) << when;
    EXPECT_GE(hung.took, seconds(1)) << when;
    // The limit and the browser's answer to the question whether it still serves.
    EXPECT_LT(hung.took, seconds(3)) << when;
    expectPicture(++seed, "after a page that hung " + when + " its load");
    EXPECT_EQ(plugin.browserRuns().size(), 1u) << when;
    EXPECT_EQ(contextsLeft(), 1) << when;
  }
  // Asked as the browser's first message, and after each hung page whether it still serves.
  EXPECT_EQ(timesSent("Browser.getVersion"), 3);
  EXPECT_TRUE(browserRuns());
  plugin.unload();
  expectNothingLeft("after unload");
}

}  // namespace
}  // namespace ondrel::test
