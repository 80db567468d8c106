// ondrel-render from end to end with the fake browser: the plug-in loaded as
// a viewer loads it, the picture written, every failure reported in one line.

#include "tools/ondrel_render/render_command.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/child_process.h"
#include "platform/files.h"
#include "platform/host_support.h"
#include "platform/screenshot_bitmap.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/test_pattern.h"

namespace ondrel_render {
namespace {

using ondrel::test::Bgra;
using ondrel::test::patternPixel;

std::string htmlPage(int seed) {
  return "<html><body>seed:" + std::to_string(seed) +
         "</body></html>\n<!-- enough bytes for the plug-in to take the page -->\n";
}

// The first pixel that differs from the fake browser's pattern, or empty.
std::string differenceFromPattern(int width, int height, std::uint8_t seed,
                                  const std::function<Bgra(int x, int y)>& pixelAt) {
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if (!(pixelAt(x, y) == patternPixel(x, y, seed))) {
        return "(" + std::to_string(x) + ", " + std::to_string(y) + ")";
      }
    }
  }
  return "";
}

class RenderCommandTest : public ::testing::Test {
 protected:
  std::filesystem::path modulePath() const {
    return plugin.folder() / std::filesystem::path(ONDREL_MODULE).filename();
  }

  // Runs the command with the module copy the test prepared, unless the
  // options name another.
  int render(RenderOptions options) {
    out.str("");
    err.str("");
    const std::u16string module = modulePath().u16string();
    return renderFiles(options, module, out, err);
  }

  RenderOptions options(const std::string& input, const std::string& output) const {
    RenderOptions result;
    result.jobs.push_back({(plugin.folder() / input).string(), (plugin.folder() / output).string(),
                           *pictureFormatFor(output)});
    return result;
  }

  std::vector<std::string> temporaryLeftovers() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(plugin.folder() / "tmp")) {
      names.push_back(entry.path().filename().string());
    }
    return names;
  }

  ondrel::platform::ComApartment com;
  ondrel::test::PluginModule plugin;
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(RenderCommandTest, WritesThePictureAsPng) {
  plugin.useFakeBrowser("width=30\nheight=20\n");
  plugin.writeFile("page.html", htmlPage(41));
  ASSERT_EQ(render(options("page.html", "page.png")), kExitRendered) << err.str();
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(out.str(), "wrote " + (plugin.folder() / "page.png").string() + " (30 x 20)\n");

  const auto png =
      ondrel::platform::decodePngFile((plugin.folder() / "page.png").u16string(), 1000, 1000);
  ASSERT_NE(png, nullptr);
  ASSERT_EQ(png->width(), 30);
  ASSERT_EQ(png->height(), 20);
  EXPECT_EQ(differenceFromPattern(30, 20, 41,
                                  [&](int x, int y) {
                                    const std::uint8_t* p = png->pixels() + (y * 30 + x) * 4;
                                    return Bgra{p[0], p[1], p[2], p[3]};
                                  }),
            "");
  // One browser run: the picture was asked for once, as a viewer asks.
  EXPECT_EQ(plugin.browserRuns().size(), 1u);
}

TEST_F(RenderCommandTest, WritesThePictureAsBmp) {
  plugin.useFakeBrowser("width=5\nheight=3\n");
  plugin.writeFile("page.htm", htmlPage(9));
  ASSERT_EQ(render(options("page.htm", "page.BMP")), kExitRendered) << err.str();
  const std::optional<std::string> bmp =
      ondrel::platform::readFileBytes((plugin.folder() / "page.BMP").u16string());
  ASSERT_TRUE(bmp);
  ASSERT_EQ(bmp->size(), 54u + 16u * 3u);  // 15 bytes a row, padded to 16
  EXPECT_EQ(differenceFromPattern(
                5, 3, 9,
                [&](int x, int y) {
                  const char* p = bmp->data() + 54 + (2 - y) * 16 + x * 3;
                  return Bgra{std::uint8_t(p[0]), std::uint8_t(p[1]), std::uint8_t(p[2]), 255};
                }),
            "");
}

TEST_F(RenderCommandTest, SettingsFileIsUsedThroughAPrivateCopyThatGoesAway) {
  plugin.writeSettings("");  // the module's own settings name no browser
  const auto settings = plugin.writeFile(
      "elsewhere/my.ini",
      "[SystemSetting]\nChrome=" + ondrel::test::fakeBrowserPath() + "\nwidth=7\nheight=4\n");
  plugin.writeFile(
      "notes.md",
      "# Notes\n\nseed:3, and a paragraph long enough for the plug-in to make a picture of it\n");
  RenderOptions withSettings = options("notes.md", "notes.png");
  withSettings.settingsPath = settings.string();
  withSettings.verbose = true;
  ASSERT_EQ(render(withSettings), kExitRendered) << err.str();
  EXPECT_NE(out.str().find("plug-in: ondrel by Qorv from "), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("picture: 7 x 4 (announced 7 x 4)"), std::string::npos) << out.str();
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());

  // Without the settings file the module's own apply, which name no browser.
  EXPECT_EQ(render(options("notes.md", "notes.png")), kExitFailed);
}

TEST_F(RenderCommandTest, FailuresAreOneLineNamingTheInput) {
  plugin.useFakeBrowser();
  plugin.writeFile("page.html", htmlPage(1));
  plugin.writeFile("short.html", "<p>too short</p>");
  plugin.writeFile("notes.txt", htmlPage(1));
  const std::string folder = plugin.folder().string();
  struct Case {
    const char* what;
    std::string input, output, browserMode, expected;
  };
  const Case cases[] = {
      {"missing", "missing.html", "o.png", "normal",
       folder + "/missing.html: cannot read the file\n"},
      {"not taken", "notes.txt", "o.png", "normal",
       folder + "/notes.txt: the plug-in does not take this file (IsSupportedW answered 0: its "
                "settings name no existing browser, or it does not take this extension)\n"},
      {"too short", "short.html", "o.png", "normal",
       folder + "/short.html: GetPictureW gave result 2 (the plug-in does not take the file, or "
                "it is too short)\n"},
      {"no screenshot", "page.html", "o.png", "no-screenshot",
       folder + "/page.html: GetPictureW gave result 6 (the file could not be read, or the "
                "browser made no picture)\n"},
      {"unwritable", "page.html", "no/such/folder/o.png", "normal",
       folder + "/no/such/folder/o.png: cannot write the picture\n"},
  };
  for (const Case& c : cases) {
    plugin.setBrowserMode(c.browserMode);
    EXPECT_EQ(render(options(c.input, c.output)), kExitFailed) << c.what;
    // Messages use the names as given; the test's names use its own separators.
    std::string message = err.str();
    std::replace(message.begin(), message.end(), '\\', '/');
    std::string expected = "ondrel-render: " + c.expected;
    std::replace(expected.begin(), expected.end(), '\\', '/');
    EXPECT_EQ(message, expected) << c.what;
    EXPECT_EQ(out.str(), "") << c.what;
  }
  EXPECT_FALSE(std::filesystem::exists(plugin.folder() / "o.png"));
}

TEST_F(RenderCommandTest, ModuleAndSettingsThatCannotBeUsed) {
  plugin.useFakeBrowser();
  plugin.writeFile("page.html", htmlPage(1));
  RenderOptions noModule = options("page.html", "o.png");
  noModule.modulePath = (plugin.folder() / "no-module.so").string();
  EXPECT_EQ(render(noModule), kExitFailed);
  EXPECT_EQ(
      err.str().rfind("ondrel-render: " + *noModule.modulePath + ": cannot load the module", 0), 0u)
      << err.str();

  RenderOptions noSettings = options("page.html", "o.png");
  noSettings.settingsPath = (plugin.folder() / "missing.ini").string();
  EXPECT_EQ(render(noSettings), kExitFailed);
  EXPECT_EQ(err.str(),
            "ondrel-render: " + *noSettings.settingsPath + ": cannot read the settings file\n");
  EXPECT_EQ(temporaryLeftovers(), std::vector<std::string>());
}

TEST_F(RenderCommandTest, ManyFilesGoOnPastAFailureAndReportProgress) {
  plugin.useFakeBrowser("width=8\nheight=6\n");
  RenderOptions many;
  for (int seed = 1; seed <= 5; ++seed) {
    const std::string name = "page" + std::to_string(seed);
    if (seed != 3) plugin.writeFile(name + ".html", htmlPage(seed));
    many.jobs.push_back({(plugin.folder() / (name + ".html")).string(),
                         (plugin.folder() / (name + ".png")).string(), PictureFormat::kPng});
  }
  EXPECT_EQ(render(many), kExitFailed);

  for (int seed = 1; seed <= 5; ++seed) {
    const auto png = ondrel::platform::decodePngFile(
        (plugin.folder() / ("page" + std::to_string(seed) + ".png")).u16string(), 100, 100);
    if (seed == 3) {
      EXPECT_EQ(png, nullptr);
      continue;
    }
    ASSERT_NE(png, nullptr) << seed;
    EXPECT_EQ(differenceFromPattern(8, 6, std::uint8_t(seed),
                                    [&](int x, int y) {
                                      const std::uint8_t* p = png->pixels() + (y * 8 + x) * 4;
                                      return Bgra{p[0], p[1], p[2], p[3]};
                                    }),
              "")
        << seed;
  }
  EXPECT_EQ(plugin.browserRuns().size(), 4u);

  // The failure in one line, a line per file with its number, and the count.
  std::vector<std::string> lines;
  std::istringstream errLines(err.str());
  for (std::string line; std::getline(errLines, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), 7u) << err.str();
  EXPECT_NE(lines[2].find("page3.html: cannot read the file"), std::string::npos) << lines[2];
  EXPECT_EQ(lines[3].rfind("ondrel-render: [3/5] ", 0), 0u) << lines[3];
  EXPECT_NE(lines[3].find("page3.html: failed, "), std::string::npos) << lines[3];
  EXPECT_EQ(lines[5].rfind("ondrel-render: [5/5] ", 0), 0u) << lines[5];
  EXPECT_EQ(lines[6], "ondrel-render: 1 of 5 files failed");
}

// Many threads through the one loaded module, as a viewer making thumbnails: the same files, the
// same pictures, the same lines (in the order the files end), and one kept browser.
TEST_F(RenderCommandTest, JobsRenderTheFilesFromManyThreads) {
  constexpr int kFiles = 12;
  plugin.useFakeBrowser("width=8\nheight=6\nengine=DevTools\nparallel=4\n");
  RenderOptions many;
  many.threads = 4;
  for (int seed = 1; seed <= kFiles; ++seed) {
    const std::string name = "page" + std::to_string(seed);
    if (seed != 5) plugin.writeFile(name + ".html", htmlPage(seed));
    many.jobs.push_back({(plugin.folder() / (name + ".html")).string(),
                         (plugin.folder() / (name + ".png")).string(), PictureFormat::kPng});
  }
  EXPECT_EQ(render(many), kExitFailed);
  for (int seed = 1; seed <= kFiles; ++seed) {
    const auto png = ondrel::platform::decodePngFile(
        (plugin.folder() / ("page" + std::to_string(seed) + ".png")).u16string(), 100, 100);
    if (seed == 5) {
      EXPECT_EQ(png, nullptr);
      continue;
    }
    ASSERT_NE(png, nullptr) << seed;
    EXPECT_EQ(differenceFromPattern(8, 6, std::uint8_t(seed),
                                    [&](int x, int y) {
                                      const std::uint8_t* p = png->pixels() + (y * 8 + x) * 4;
                                      return Bgra{p[0], p[1], p[2], p[3]};
                                    }),
              "")
        << seed;
  }
  EXPECT_EQ(plugin.browserRuns().size(), 1u);

  // Each file's lines whole: one "wrote" line each, a progress line each, numbered in order.
  std::istringstream outLines(out.str());
  int wrote = 0;
  for (std::string line; std::getline(outLines, line);) {
    EXPECT_EQ(line.rfind("wrote ", 0), 0u) << line;
    ++wrote;
  }
  EXPECT_EQ(wrote, kFiles - 1);
  std::vector<std::string> lines;
  std::istringstream errLines(err.str());
  for (std::string line; std::getline(errLines, line);) lines.push_back(line);
  ASSERT_EQ(lines.size(), std::size_t(kFiles + 2)) << err.str();
  int progress = 0;
  for (const std::string& line : lines) {
    if (line.find("page5.html: cannot read the file") != std::string::npos) continue;
    if (line == "ondrel-render: 1 of 12 files failed") continue;
    ++progress;
    EXPECT_EQ(line.rfind("ondrel-render: [" + std::to_string(progress) + "/12] ", 0), 0u) << line;
  }
  EXPECT_EQ(progress, kFiles);
  EXPECT_EQ(lines.back(), "ondrel-render: 1 of 12 files failed");
}

TEST_F(RenderCommandTest, AFewFilesSayOnlyWhatEachOneDoes) {
  plugin.useFakeBrowser("width=4\nheight=4\n");
  plugin.writeFile("a.html", htmlPage(1));
  plugin.writeFile("b.html", htmlPage(2));
  RenderOptions two = options("a.html", "a.png");
  two.jobs.push_back(options("b.html", "b.bmp").jobs[0]);
  ASSERT_EQ(render(two), kExitRendered) << err.str();
  EXPECT_EQ(err.str(), "");
  EXPECT_EQ(out.str(), "wrote " + (plugin.folder() / "a.png").string() + " (4 x 4)\nwrote " +
                           (plugin.folder() / "b.bmp").string() + " (4 x 4)\n");
}

// With --memory each file reaches the plug-in as a viewer hands over an archive's entry: its name
// and head to IsSupportedW, then its bytes with flag 0x01, which only memoryImages=ON takes.
TEST_F(RenderCommandTest, MemoryHandsEachFileOverAsAMemoryImage) {
  plugin.useFakeBrowser("width=8\nheight=6\nmemoryImages=ON\n");
  plugin.keepShownPage();
  plugin.writeFile("page.html", htmlPage(12));
  plugin.writeFile(
      "notes.md",
      "# Notes\n\nseed:13, in a paragraph long enough for the plug-in to make a picture\n");
  plugin.writeFile("drawing.svg",
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"5\" height=\"4\"/>\n"
                   "<!-- long enough for the plug-in to take -->\n");
  RenderOptions memory = options("page.html", "page.png");
  memory.jobs.push_back(options("notes.md", "notes.png").jobs[0]);
  memory.jobs.push_back(options("drawing.svg", "drawing.png").jobs[0]);
  memory.memory = true;
  ASSERT_EQ(render(memory), kExitRendered) << err.str();
  EXPECT_NE(out.str().find("notes.png (8 x 6)"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("drawing.png (5 x 4)"), std::string::npos) << out.str();
  const std::vector<ondrel::test::BrowserRun> runs = plugin.browserRuns();
  ASSERT_EQ(runs.size(), 3u);
  for (const ondrel::test::BrowserRun& run : runs) {
    const std::string shown = std::filesystem::path(run.args.back()).filename().string();
    EXPECT_EQ(shown.rfind("memory-image-", 0), 0u) << shown;
  }
  const auto png =
      ondrel::platform::decodePngFile((plugin.folder() / "notes.png").u16string(), 100, 100);
  ASSERT_NE(png, nullptr);
  EXPECT_EQ(png->pixels()[2], 13) << "red is the seed of the page shown";

  plugin.useFakeBrowser("width=8\nheight=6\n");
  EXPECT_EQ(render(memory), kExitFailed);
  EXPECT_NE(err.str().find("page.html: GetPictureW gave result 2"), std::string::npos) << err.str();
}

// The program itself: its exit status as a script sees it.
TEST_F(RenderCommandTest, ProgramExitStatus) {
  plugin.useFakeBrowser("width=6\nheight=6\n");
  const auto page = plugin.writeFile("page.html", htmlPage(2));
  const auto settings = plugin.folder() / "ondrel.ini";
  plugin.writeFile("ondrel.ini", "[SystemSetting]\nChrome=" + ondrel::test::fakeBrowserPath() +
                                     "\nwidth=6\nheight=6\n");
  const auto run = [&](const std::string& arguments) -> int {
    const std::string line = "\"" ONDREL_RENDER_PROGRAM "\" " + arguments;
    std::optional<ondrel::platform::ChildProcess> program = ondrel::platform::ChildProcess::start(
        ondrel::utf8ToWide(line), plugin.folder().u16string());
    if (!program) return -1;
    for (;;) {
      const std::optional<ondrel::platform::ThreadState> state = program->primaryThreadState();
      if (!state) return -2;
      if (!state->isRunning()) return int(state->exitCode());
      ondrel::platform::sleepMilliseconds(20);
    }
  };
  EXPECT_EQ(run("--help"), 0);
  EXPECT_EQ(run("--bogus a.html b.png"), 2);
  EXPECT_EQ(run("a.html b.gif"), 2);
  EXPECT_EQ(run("--jobs 0 a.html b.png"), 2);
  EXPECT_EQ(run("--pause -1 a.html b.png"), 2);
  const std::string files =
      "\"" + page.string() + "\" \"" + (plugin.folder() / "out.bmp").string() + "\"";
  EXPECT_EQ(run("--ini \"" + settings.string() + "\" " + files), 0);
  EXPECT_TRUE(std::filesystem::exists(plugin.folder() / "out.bmp"));
  EXPECT_EQ(run("--plugin \"" + (plugin.folder() / "none").string() + "\" " + files), 1);
  EXPECT_EQ(run("--ini \"" + settings.string() + "\" --out-dir \"" +
                (plugin.folder() / "pictures").string() + "\" \"" + page.string() + "\""),
            0);
  EXPECT_TRUE(std::filesystem::exists(plugin.folder() / "pictures" / "page.png"));
  EXPECT_EQ(run("--ini \"" + settings.string() + "\" --jobs 2 --pause 10 " + files), 0);
}

}  // namespace
}  // namespace ondrel_render
