// The example settings files hold the keys the plug-in reads, no more and no fewer, commented
// out or not; and the packaged one, read as the plug-in reads it, turns on the DevTools engine,
// the kept browser, GitHub-flavoured Markdown and memory images.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>

#include "plugin/settings.h"

namespace ondrel {
namespace {

const std::filesystem::path kExamples = ONDREL_EXAMPLES;

std::string folded(std::string text) {
  for (char& c : text) c = char(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Every key the file sets or shows in a comment ("key=value" or ";key=value").
std::set<std::string> keysShownIn(const std::filesystem::path& file) {
  std::set<std::string> keys;
  std::ifstream in(file, std::ios::binary);
  const std::regex keyLine(R"(^\s*;?\s*([A-Za-z]+)\s*=)");
  for (std::string line; std::getline(in, line);) {
    std::smatch match;
    if (std::regex_search(line, match, keyLine)) keys.insert(folded(match[1]));
  }
  return keys;
}

std::set<std::string> knownKeys() {
  std::set<std::string> keys;
  for (WideView key : setting::kKnownKeys) keys.insert(folded(wideToUtf8(key)));
  return keys;
}

TEST(PackagedSettings, TheExamplesShowEveryKeyThePluginReadsAndNoOther) {
  for (const char* name : {"ondrel.ini", "linux.ini"}) {
    EXPECT_EQ(keysShownIn(kExamples / name), knownKeys()) << name;
  }
}

TEST(PackagedSettings, ThePackagedFileTurnsOnTheWarmEngineGitHubMarkdownAndMemoryImages) {
  const SettingsFile settings((kExamples / "ondrel.ini").u16string());
  EXPECT_EQ(settings.captureEngine(), CaptureEngine::kDevTools);
  EXPECT_EQ(settings.keepBrowserSeconds(), 60);
  EXPECT_EQ(settings.markdownDialect(), u"GFM");
  EXPECT_TRUE(settings.markdownDrawn());
  EXPECT_TRUE(settings.memoryImagesTaken());
  // Nothing else changes from the defaults, and nothing is logged.
  EXPECT_FALSE(settings.fullPage());
  EXPECT_FALSE(settings.networkBlocked());
  EXPECT_TRUE(settings.logPath().empty());
  EXPECT_EQ(settings.waitSeconds(), setting::kWaitTimeDefault);
  EXPECT_EQ(settings.deviceScale(), 1.0);
  EXPECT_EQ(settings.markdownCodePage(), platform::kAnsiCodePage);
}

}  // namespace
}  // namespace ondrel
