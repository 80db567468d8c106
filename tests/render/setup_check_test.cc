// ondrel-render --check with the fake browser and with none: the settings as the plug-in reads
// them, unknown keys with the key meant, the browser's version, the two test pictures, and the
// last line saying what to change when anything does not work.

#include "tools/ondrel_render/setup_check.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/host_support.h"
#include "tests/plugin/plugin_module.h"
#include "tools/ondrel_render/render_command.h"

namespace ondrel_render {
namespace {

std::string lastLine(const std::string& text) {
  std::string trimmed = text;
  while (!trimmed.empty() && trimmed.back() == '\n') trimmed.pop_back();
  return trimmed.substr(trimmed.rfind('\n') + 1);
}

class SetupCheckTest : public ::testing::Test {
 protected:
  // Checks with `settings` as the --ini file; the exit status.
  int check(const std::string& settings) {
    const auto ini = plugin.writeFile("check.ini", settings);
    RenderOptions options;
    options.check = true;
    options.settingsPath = ini.string();
    out.str("");
    return checkSetup(options, u"unused", out);
  }

  std::string fakeSettings(const std::string& lines) const {
    return "[SystemSetting]\nChrome=" + ondrel::test::fakeBrowserPath() + "\n" + lines;
  }

  bool says(const std::string& text) const { return out.str().find(text) != std::string::npos; }

  ondrel::platform::ComApartment com;
  ondrel::test::PluginModule plugin;
  std::ostringstream out;
};

TEST_F(SetupCheckTest, TellsTheSettingsTheBrowserAndBothTestPictures) {
  EXPECT_EQ(check(fakeSettings("engine=devtools\nmarkdown=GFM\nwidth=0\n")), kExitFailed);
  EXPECT_TRUE(says("  engine            = devtools  -> the DevTools engine\n")) << out.str();
  EXPECT_TRUE(says("  width             = 0  -> pictures are 640 x 480")) << out.str();
  EXPECT_TRUE(says("  fullPage          = (not set)  -> off")) << out.str();
  EXPECT_TRUE(
      says("  markdownEncoding  = (not set)  -> GFM documents neither UTF-8 nor UTF-16 "
           "are read in the system's ANSI code page\n"))
      << out.str();
  EXPECT_TRUE(
      says("  markdownDrawing   = (not set)  -> off: code, math and diagrams show as text\n"))
      << out.str();
  EXPECT_TRUE(says("  version: FakeBrowser/1.0\n")) << out.str();
  EXPECT_TRUE(says("HTML test page: ")) << out.str();
  EXPECT_TRUE(says("Markdown test page (GFM): ")) << out.str();
  EXPECT_TRUE(says(", DevTools engine, 640 x 480\n")) << out.str();
  // The fake browser draws its pattern, not the page.
  EXPECT_TRUE(says("HTML test page: the colours came out wrong: at (160, 120) #")) << out.str();
  EXPECT_EQ(lastLine(out.str()),
            "To fix: use a Chromium-family browser (Edge, Chrome, Chromium) in Chrome");
}

TEST_F(SetupCheckTest, AMissingBrowserIsNamedAndNothingIsRendered) {
  const std::string missing = (plugin.folder() / "msedge.exe").string();
  EXPECT_EQ(check("[SystemSetting]\nChrome=" + missing + "\n"), kExitFailed);
  EXPECT_TRUE(says("  problem: browser not found: " + missing + "\n")) << out.str();
  EXPECT_FALSE(says("test page")) << out.str();
  EXPECT_TRUE(lastLine(out.str()).starts_with("To fix: set Chrome in [SystemSetting] of "))
      << out.str();
  EXPECT_TRUE(plugin.browserRuns().empty());

  EXPECT_EQ(check("[SystemSetting]\n"), kExitFailed);
  EXPECT_TRUE(says("  problem: no browser: Chrome is empty\n")) << out.str();
}

TEST_F(SetupCheckTest, AMisspeltKeyIsNamedWithTheKeyMeant) {
  plugin.setBrowserMode("normal");
  EXPECT_EQ(check(fakeSettings("engin=DevTools\n[Other]\nmarkdown=gfm\n")), kExitFailed);
  EXPECT_TRUE(
      says("  problem: unknown key \"engin\" in [SystemSetting] (did you mean "
           "\"engine\"?)\n"))
      << out.str();
  EXPECT_TRUE(says("To fix: rename \"engin\" to \"engine\" in ")) << out.str();
  EXPECT_TRUE(says("To fix: move \"markdown\" into [SystemSetting] in ")) << out.str();
  EXPECT_TRUE(says(", one-shot engine, ")) << out.str();
}

TEST_F(SetupCheckTest, ABrowserThatRefusesThePipeIsNamedAndStillGivesPictures) {
  // A browser of its own, since this process remembers which browser refused.
  const std::filesystem::path original(ondrel::test::fakeBrowserPath());
  const std::filesystem::path refusing =
      plugin.folder() / ("refusing" + original.extension().string());
  std::filesystem::copy_file(original, refusing);
  const std::string settings = "[SystemSetting]\nChrome=" + refusing.string() + "\n";
  plugin.setBrowserMode("refuse-pipe");
  EXPECT_EQ(check(settings + "engine=DevTools\n"), kExitFailed);
  EXPECT_TRUE(
      says("  version: unknown (browser exited with code 21 before answering on its "
           "DevTools pipe)\n"))
      << out.str();
  EXPECT_TRUE(says("  problem: the browser refuses the DevTools pipe")) << out.str();
  EXPECT_TRUE(says("HTML test page: ")) << out.str();
  EXPECT_TRUE(says(", one-shot engine, 640 x 480\n")) << out.str();
  EXPECT_TRUE(says("To fix: allow the browser remote debugging")) << out.str();

  // The one-shot engine needs no pipe: nothing to change there but the colours.
  EXPECT_EQ(check(settings), kExitFailed);
  EXPECT_FALSE(says("problem: the browser refuses")) << out.str();
}

}  // namespace
}  // namespace ondrel_render
