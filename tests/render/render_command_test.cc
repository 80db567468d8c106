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
    return renderFile(options, module, out, err);
  }

  RenderOptions options(const std::string& input, const std::string& output) const {
    RenderOptions result;
    result.inputPath = (plugin.folder() / input).string();
    result.outputPath = (plugin.folder() / output).string();
    result.outputFormat = *pictureFormatFor(output);
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
  const std::string files =
      "\"" + page.string() + "\" \"" + (plugin.folder() / "out.bmp").string() + "\"";
  EXPECT_EQ(run("--ini \"" + settings.string() + "\" " + files), 0);
  EXPECT_TRUE(std::filesystem::exists(plugin.folder() / "out.bmp"));
  EXPECT_EQ(run("--plugin \"" + (plugin.folder() / "none").string() + "\" " + files), 1);
}

}  // namespace
}  // namespace ondrel_render
