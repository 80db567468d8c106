// ondrel-render.exe --check as a Windows user runs it, in the plug-in's folder with the packaged
// ondrel.ini beside ondrel.sph, under wine with the real Chromium behind the stand-in: it reads
// the settings beside the module, asks the browser its version over the pipe, and both test
// pages come out right from the DevTools engine; a misspelt key and a browser that is not there
// are named, and the last line says what to change.

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/wine-chromium/chromium_under_wine.h"
#include "tools/ondrel_render/render_command.h"
#include "tools/ondrel_render/setup_check.h"

namespace ondrel::wine_chromium {
namespace {

std::string packagedSettingsWith(const std::string& browser) {
  std::ifstream in(example("ondrel.ini"), std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  // Chromium starts slowly under wine on a busy machine.
  text = std::regex_replace(text, std::regex("\nwaitTime=5"), "\nwaitTime=60");
  return std::regex_replace(text, std::regex("\nChrome=[^\r\n]*"), "\nChrome=" + browser);
}

std::size_t countOf(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

std::string lastLine(std::string text) {
  while (!text.empty() && text.back() == '\n') text.pop_back();
  return text.substr(text.rfind('\n') + 1);
}

class CheckChromiumTest : public ChromiumUnderWine {
 protected:
  // --check without --ini, as run in the plug-in's folder: the module is its own.
  std::string check(int& status) {
    const std::filesystem::path module =
        plugin.folder() / std::filesystem::path(ONDREL_MODULE).filename();
    ondrel_render::RenderOptions options;
    options.check = true;
    std::ostringstream out;
    status = ondrel_render::checkSetup(options, module.u16string(), out);
    return out.str();
  }

  const std::string standIn = std::filesystem::path(ONDREL_WINE_CHROMIUM).make_preferred().string();
};

TEST_F(CheckChromiumTest, ThePackagedSettingsBesideTheModulePass) {
  plugin.writeSettings(packagedSettingsWith(standIn));
  int status = -1;
  const std::string out = check(status);
  EXPECT_EQ(status, ondrel_render::kExitRendered) << out;
  const std::string ini =
      (plugin.folder() / std::filesystem::path(ONDREL_MODULE).filename().replace_extension(".ini"))
          .string();
  EXPECT_TRUE(out.starts_with("Settings: " + ini + "\n")) << out;
  EXPECT_TRUE(std::regex_search(out, std::regex("\n  version: [^ \n]*Chrom[^ \n]*/\\d+\\.")))
      << out;
  EXPECT_EQ(countOf(out, ", DevTools engine, 640 x 480\n  its colours came out right\n"), 2u)
      << out;
  EXPECT_NE(out.find("Markdown test page (GFM): "), std::string::npos) << out;
  EXPECT_TRUE(out.ends_with("Everything works.\n")) << out;
}

TEST_F(CheckChromiumTest, AMisspeltKeyAndAMissingBrowserAreNamed) {
  plugin.writeSettings(packagedSettingsWith(standIn) + "keepBrowsr=30\n");
  int status = -1;
  std::string out = check(status);
  EXPECT_EQ(status, ondrel_render::kExitFailed) << out;
  EXPECT_NE(out.find("  problem: unknown key \"keepBrowsr\" in [SystemSetting] (did you mean "
                     "\"keepBrowser\"?)\n"),
            std::string::npos)
      << out;
  EXPECT_EQ(countOf(out, "  its colours came out right\n"), 2u) << out;
  EXPECT_TRUE(lastLine(out).starts_with("To fix: rename \"keepBrowsr\" to \"keepBrowser\" in "))
      << out;

  const std::string missing = (plugin.folder() / "Edge" / "msedge.exe").string();
  plugin.writeSettings(packagedSettingsWith(missing));
  out = check(status);
  EXPECT_EQ(status, ondrel_render::kExitFailed) << out;
  EXPECT_NE(out.find("  problem: browser not found: " + missing + "\n"), std::string::npos) << out;
  EXPECT_EQ(out.find("test page"), std::string::npos) << out;
  EXPECT_TRUE(lastLine(out).starts_with("To fix: set Chrome in [SystemSetting] of ")) << out;
}

}  // namespace
}  // namespace ondrel::wine_chromium
