// With the real Chromium: ondrel-render --check passes with the packaged settings and with the
// classic ones, and the packaged settings give a GitHub README, a long page and a drawing from
// one warm browser of the DevTools engine, with GitHub-flavoured Markdown, as the log tells.

#include <gtest/gtest.h>

#include <stdio.h>
#include <sys/wait.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "tests/browser/shallow_temporary_folder.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

struct ProgramRun {
  int status = -1;
  std::string output;
};

ProgramRun runProgram(const std::string& arguments) {
  ProgramRun run;
  FILE* pipe = popen(("\"" ONDREL_RENDER_PROGRAM "\" " + arguments + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return run;
  char buffer[4096];
  for (std::size_t got; (got = fread(buffer, 1, sizeof buffer, pipe)) > 0;) {
    run.output.append(buffer, got);
  }
  const int status = pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

// The packaged settings file, naming the Chromium wrapper and giving a slow machine time.
std::string packagedSettings(const std::string& extra = "") {
  std::ifstream in(std::string(ONDREL_EXAMPLES) + "/ondrel.ini", std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text = std::regex_replace(text, std::regex("\nChrome=[^\r\n]*"),
                            "\nChrome=" ONDREL_CHROMIUM_WRAPPER);
  text = std::regex_replace(text, std::regex("\nwaitTime=5"), "\nwaitTime=30");
  return text + extra;
}

std::size_t countWith(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) {
    ++count;
  }
  return count;
}

class CheckChromiumTest : public ::testing::Test {
 protected:
  PluginModule plugin;
  ShallowTemporaryFolder temporary_{"ondrel-check-"};
};

TEST_F(CheckChromiumTest, ThePackagedSettingsPassTheCheck) {
  const auto ini = plugin.writeFile("packaged.ini", packagedSettings());
  const ProgramRun run = runProgram("--check --ini \"" + ini.string() + "\"");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(countWith(run.output, "  its colours came out right\n"), 2u) << run.output;
  EXPECT_NE(run.output.find("Markdown test page (GFM): "), std::string::npos) << run.output;
  EXPECT_EQ(countWith(run.output, ", DevTools engine, 640 x 480\n"), 2u) << run.output;
  EXPECT_TRUE(std::regex_search(run.output, std::regex("\n  version: [^ \n]*Chrom[^ \n]*/\\d+\\.")))
      << run.output;
  EXPECT_TRUE(run.output.ends_with("Everything works.\n")) << run.output;
}

TEST_F(CheckChromiumTest, TheClassicSettingsPassTheCheckToo) {
  const auto ini = plugin.writeFile(
      "classic.ini", "[SystemSetting]\nChrome=" ONDREL_CHROMIUM_WRAPPER "\nwaitTime=30\n");
  const ProgramRun run = runProgram("--check --ini \"" + ini.string() + "\"");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(countWith(run.output, ", one-shot engine, 640 x 480\n"), 2u) << run.output;
  EXPECT_NE(run.output.find("Markdown test page (built-in): "), std::string::npos) << run.output;
  EXPECT_TRUE(run.output.ends_with("Everything works.\n")) << run.output;
}

TEST_F(CheckChromiumTest, ThePackagedSettingsTakeEveryPictureWarmWithGitHubMarkdown) {
  const auto log = plugin.folder() / "ondrel.log";
  const auto ini = plugin.writeFile("packaged.ini", packagedSettings("log=" + log.string() + "\n"));
  std::string longPage = "<!DOCTYPE html><html><body>";
  for (int i = 0; i < 300; ++i) longPage += "<p>Paragraph " + std::to_string(i) + "</p>";
  const auto page = plugin.writeFile("long.html", longPage + "</body></html>\n");
  const std::string examples = ONDREL_EXAMPLES;
  const ProgramRun run = runProgram(
      "--ini \"" + ini.string() + "\" --out-dir \"" + (plugin.folder() / "out").string() + "\" \"" +
      examples + "/readme.md\" \"" + page.string() + "\" \"" + examples + "/drawing.svg\"");
  ASSERT_EQ(run.status, 0) << run.output;

  std::ifstream in(log, std::ios::binary);
  const std::string lines((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(countWith(lines, " browser started: "), 1u) << lines;
  EXPECT_EQ(countWith(lines, " GetPictureW "), 3u) << lines;
  // Its picture information and its picture.
  EXPECT_EQ(countWith(lines, "readme.md\" result 0 in "), 2u) << lines;
  EXPECT_TRUE(std::regex_search(
      lines, std::regex("GetPictureW \"[^\"]*readme.md\" result 0 in \\d+ ms, DevTools engine, GFM "
                        "Markdown\n")))
      << lines;
  EXPECT_TRUE(std::regex_search(
      lines, std::regex("GetPictureW \"[^\"]*long.html\" result 0 in \\d+ ms, DevTools engine\n")))
      << lines;
  EXPECT_TRUE(std::regex_search(
      lines,
      std::regex("GetPictureW \"[^\"]*drawing.svg\" result 0 in \\d+ ms, DevTools engine\n")))
      << lines;
  EXPECT_EQ(countWith(lines, " settings: "), 0u) << lines;
}

}  // namespace
}  // namespace ondrel::test
