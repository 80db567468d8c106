// Hostile pages with Debian's Chromium behind the wrapper script: a page whose script grows an
// array of 64 MiB strings until V8 runs out of memory fails within two seconds of its renderer's
// death, whatever waitTime is; pages that greet the reader with an alert, a confirm, a prompt or a
// beforeunload handler come out as pictures; a page whose script never ends, before its load or
// after it, fails at waitTime and costs only its own context and renderer: the next picture comes
// from the same browser process and is right. Nothing is left behind after each.
//
// A test wrapper in front of the wrapper counts the browser's starts and keeps the renderers'
// heap at 160 MiB, so that V8 gives up in seconds rather than after 4 GiB.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <future>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <tuple>

#include "platform/host_support.h"
#include "tests/browser/known_colours.h"
#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/chromium_processes.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/wait_until.h"

namespace ondrel::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using std::chrono::seconds;

constexpr Colour kRed{255, 0, 0};
constexpr Colour kGreen{0, 255, 0};
constexpr Colour kBlue{0, 0, 255};

const std::string kOutOfMemoryPage =
    "<html><body><script>\n"
    "const kept = [];\n"
    "for (;;) kept.push('x'.repeat(64 << 20));\n"
    "</script></body></html>\n";

// A page that is red until its script, run as it loads, paints it: green for what a reader who
// clicks OK would see, blue for anything else.
std::string paintedBy(const std::string& script) {
  return "<!DOCTYPE html><html><body style=\"margin:0;background:#f00\"><script>\n" + script +
         "\n</script></body></html>\n";
}

// The second field of /proc/PID/stat counted from its end: when the process started.
unsigned long long startOf(int pid) {
  const std::string stat = readWholeFile("/proc/" + std::to_string(pid) + "/stat");
  const std::size_t nameEnd = stat.rfind(')');
  if (nameEnd == std::string::npos) return 0;
  std::istringstream fields(stat.substr(nameEnd + 2));
  std::string field;
  for (int i = 3; i <= 22 && fields >> field; ++i) {
  }
  return std::stoull(field);
}

class HostileChromiumTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wrapper_ = plugin.writeFile(
        "counting-chromium", "#!/bin/sh\necho start >>'" + (plugin.folder() / "starts").string() +
                                 "'\nexec '" ONDREL_CHROMIUM_WRAPPER
                                 "' --js-flags=--max-old-space-size=160 \"$@\"\n");
    std::filesystem::permissions(wrapper_, std::filesystem::perms::owner_all);
  }

  void useEngine(int keepSeconds, int waitSeconds) {
    plugin.writeSettings(
        "[SystemSetting]\nChrome=" + wrapper_.string() +
        "\nengine=DevTools\nwidth=64\nheight=48\nkeepBrowser=" + std::to_string(keepSeconds) +
        "\nwaitTime=" + std::to_string(waitSeconds) + "\n");
  }

  int starts() const {
    const std::string log = readWholeFile(plugin.folder() / "starts");
    return int(std::count(log.begin(), log.end(), '\n'));
  }

  std::vector<int> renderers() const { return chromiumRenderersNaming(temporary_.path().string()); }

  // The browser's own process: the one of its processes without a --type.
  std::optional<int> browserProcess() const {
    for (const int pid : chromiumProcessesNaming(temporary_.path().string())) {
      if (commandLineOf(pid).find("--type=") == std::string::npos) return pid;
    }
    return std::nullopt;
  }

  void expectPicture(const Colour& colour, const std::string& context) {
    HandedOverPicture result;
    ASSERT_EQ(plugin.picture(plugin.writeFile("plain.html", plainPage(colour)), &result), 0)
        << context;
    expectColourAt(result, 0, 0, colour);
    expectColourAt(result, 63, 47, colour);
  }

  struct Outcome {
    int code = -1;
    Clock::time_point returned;
    // When the first renderer seen during the call ended, if one did.
    std::optional<Clock::time_point> rendererEnded;
    milliseconds took{0};
  };

  // GetPictureW of a page, watched from beside: renderers are looked for every 20 ms. A call still
  // running after `limit` fails the test, and the browser's processes are killed until it ends.
  Outcome watchedPicture(const std::filesystem::path& page, seconds limit) {
    const Clock::time_point start = Clock::now();
    std::future<int> call = std::async(std::launch::async, [&] { return plugin.picture(page); });
    Outcome outcome;
    std::set<int> seen;
    bool overdue = false;
    while (call.wait_for(milliseconds(20)) != std::future_status::ready) {
      const std::vector<int> now = renderers();
      for (const int pid : seen) {
        if (!outcome.rendererEnded && std::ranges::find(now, pid) == now.end()) {
          outcome.rendererEnded = Clock::now();
        }
      }
      seen.insert(now.begin(), now.end());
      if (Clock::now() - start > limit) {
        if (!overdue)
          ADD_FAILURE() << page << " still had no result after " << limit.count() << " s";
        overdue = true;
        for (const int pid : chromiumProcessesNaming(temporary_.path().string()))
          kill(pid, SIGKILL);
      }
    }
    outcome.code = call.get();
    outcome.returned = Clock::now();
    outcome.took = std::chrono::duration_cast<milliseconds>(outcome.returned - start);
    return outcome;
  }

  // After unload: no browser process and nothing in the temporary folder, once a killed browser's
  // helpers have had a moment to go.
  void expectNothingLeft() {
    const std::string folder = temporary_.path().string();
    waitUntil([&] { return temporary_.entries().empty() && processesNaming(folder).empty(); },
              seconds(20));
    EXPECT_EQ(temporary_.entries(), std::vector<std::string>());
    EXPECT_EQ(processesNaming(folder), std::vector<int>());
  }

  PluginModule plugin;
  // After the module, which points the temporary folder into its own.
  ShallowTemporaryFolder temporary_{"ondrel-hostile-"};
  std::filesystem::path wrapper_;
};

// keepBrowser, waitTime.
class CrashingPageTest : public HostileChromiumTest,
                         public ::testing::WithParamInterface<std::tuple<int, int>> {};

TEST_P(CrashingPageTest, FailsWithinTwoSecondsOfItsRendererDying) {
  const auto [keepSeconds, waitSeconds] = GetParam();
  useEngine(keepSeconds, waitSeconds);
  const Outcome crashed =
      watchedPicture(plugin.writeFile("oom.html", kOutOfMemoryPage), seconds(60));
  EXPECT_EQ(crashed.code, 6);
  ASSERT_TRUE(crashed.rendererEnded) << "no renderer was seen to end";
  RecordProperty(
      "ms_from_crash_to_result",
      int(std::chrono::duration_cast<milliseconds>(crashed.returned - *crashed.rendererEnded)
              .count()));
  EXPECT_LT(crashed.returned - *crashed.rendererEnded, seconds(2))
      << "the call took " << crashed.took.count() << " ms";

  expectPicture(kRed, "the page after");
  if (keepSeconds > 0) {
    EXPECT_EQ(starts(), 1);
  }
  plugin.unload();
  expectNothingLeft();
}

INSTANTIATE_TEST_SUITE_P(KeptAndNot, CrashingPageTest,
                         ::testing::Combine(::testing::Values(60, 0), ::testing::Values(30, 0)),
                         [](const auto& info) {
                           return "keepBrowser" + std::to_string(std::get<0>(info.param)) +
                                  "_waitTime" + std::to_string(std::get<1>(info.param));
                         });

TEST_F(HostileChromiumTest, DialogsAtLoadAreAnsweredAndThePagePhotographed) {
  useEngine(60, 30);
  const std::pair<const char*, std::string> pages[] = {
      {"alert", "alert('Hello'); document.body.style.background = '#0f0';"},
      {"confirm", "document.body.style.background = confirm('Go on?') ? '#0f0' : '#00f';"},
      {"prompt",
       "document.body.style.background = prompt('Name?', 'a default') === '' ? '#0f0' : '#00f';"},
      {"beforeunload",
       "addEventListener('beforeunload', (e) => { e.preventDefault(); e.returnValue = 'Stay'; });\n"
       "document.body.style.background = '#0f0';"},
  };
  for (const auto& [kind, script] : pages) {
    HandedOverPicture result;
    ASSERT_EQ(
        plugin.picture(plugin.writeFile(std::string(kind) + ".html", paintedBy(script)), &result),
        0)
        << kind;
    expectColourAt(result, 0, 0, kGreen);
    expectColourAt(result, 63, 47, kGreen);
    expectPicture(kBlue, std::string("after the ") + kind);
  }
  EXPECT_EQ(starts(), 1);
  plugin.unload();
  expectNothingLeft();
}

TEST_F(HostileChromiumTest, AnEndlessScriptCostsOnlyItsOwnPage) {
  // Only the endless pages get the short limit: a loaded machine may take longer to start the
  // browser. The limit is no launch switch, so the browser is kept across it.
  constexpr int kWaitSeconds = 3;
  useEngine(60, 30);
  expectPicture(kRed, "first");
  const std::optional<int> browser = browserProcess();
  ASSERT_TRUE(browser);
  const std::pair<const char*, std::string> pages[] = {
      {"before its load", "for (;;) {}"},
      {"after its load", "addEventListener('load', () => setTimeout(() => { for (;;) {} }, 0));"},
  };
  for (const auto& [when, script] : pages) {
    // The browser's first tab keeps its renderer; the page's own, made ready by the picture
    // before, must go with its context.
    std::vector<int> pageRenderers = renderers();
    std::ranges::sort(pageRenderers, {}, startOf);
    ASSERT_FALSE(pageRenderers.empty());
    pageRenderers.erase(pageRenderers.begin());

    useEngine(60, kWaitSeconds);
    const Outcome hung = watchedPicture(plugin.writeFile("endless.html", paintedBy(script)),
                                        seconds(kWaitSeconds + 30));
    useEngine(60, 30);
    EXPECT_EQ(hung.code, 6) << when;
    RecordProperty(std::string("ms_endless_") + (when[0] == 'b' ? "before" : "after"),
                   int(hung.took.count()));
    EXPECT_GE(hung.took, seconds(kWaitSeconds)) << when;
    EXPECT_LT(hung.took, seconds(kWaitSeconds + 3)) << when;

    expectPicture(kBlue, std::string("after a script endless ") + when);
    EXPECT_EQ(starts(), 1) << when;
    EXPECT_EQ(browserProcess(), browser) << when;
    EXPECT_TRUE(waitUntil(
        [&] {
          const std::vector<int> now = renderers();
          return std::ranges::none_of(
              pageRenderers, [&](int pid) { return std::ranges::find(now, pid) != now.end(); });
        },
        seconds(10)))
        << "the renderer of the page endless " << when << " still runs";
  }
  plugin.unload();
  expectNothingLeft();
}

}  // namespace
}  // namespace ondrel::test
