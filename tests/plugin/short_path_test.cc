// Viewers that hand files on disk over by their 8.3 short path, as some 64-bit viewers do for
// every file: each kind is taken and shown by both engines under its short name, whose extension
// is the long one's first three letters.

#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"

namespace ondrel::test {
namespace {

// The 8.3 name the system gives `path`, or the path itself when it gives none.
std::filesystem::path shortPathOf(const std::filesystem::path& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring name(needed, L'\0');
  const DWORD written = GetShortPathNameW(path.c_str(), name.data(), needed);
  if (written == 0 || written >= needed) return path;
  name.resize(written);
  return name;
}

struct Document {
  const char* longName;
  std::string bytes;
  int width, height;
  std::uint8_t seed;
};

class ShortPathTest : public ::testing::Test {
 protected:
  void TearDown() override {
    plugin.unload();
    EXPECT_EQ(plugin.temporaryFolderContents(), std::vector<std::string>()) << "left behind";
  }

  platform::ComApartment com;
  PluginModule plugin;
};

TEST_F(ShortPathTest, EachKindIsShownUnderItsShortName) {
  const Document documents[] = {
      {"A page with a long name.html",
       "<html><body>seed:21 a page on disk, long enough for a picture</body></html>\n", 64, 48, 21},
      {"Company logo drawing.svg",
       "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"30\" height=\"20\"/>\n"
       "<!-- long enough for the plug-in to take it -->\n",
       30, 20, 0x80},
      {"Meeting notes of the week.md",
       "# Meeting notes\r\n\r\nseed:22 and the logo: ![logo](pictures/logo.png)\r\n", 64, 48, 22},
  };
  for (const char* engine : {"", "engine=DevTools\nkeepBrowser=0\n"}) {
    SCOPED_TRACE(engine);
    plugin.useFakeBrowser(std::string("width=64\nheight=48\n") + engine);
    for (const Document& document : documents) {
      SCOPED_TRACE(document.longName);
      const std::filesystem::path longPath = plugin.writeFile(
          std::string("Documents with long names/") + document.longName, document.bytes);
      const std::filesystem::path shortPath = shortPathOf(longPath);
      ASSERT_NE(shortPath.filename(), longPath.filename()) << "no 8.3 name for " << longPath;
      ASSERT_NE(shortPath.filename().wstring().find(L'~'), std::wstring::npos) << shortPath;

      EXPECT_EQ(plugin.supportsEntry(shortPath.u16string(), document.bytes), 1);
      PictureInfoRecord info{};
      ASSERT_EQ(plugin.getPictureInfoW(shortPath.u16string().c_str(), 0, 0, &info), 0);
      EXPECT_EQ(info.pixelWidth, document.width);
      EXPECT_EQ(info.pixelHeight, document.height);
      HandedOverPicture picture;
      ASSERT_EQ(plugin.picture(shortPath, &picture), 0);
      EXPECT_EQ(differenceFromPattern(picture, document.width, document.height, document.seed), "");
    }
  }
}

// The note is converted from its short name; its picture stays a relative reference, left to the
// page's own folder to resolve.
TEST_F(ShortPathTest, ANoteUnderItsShortNameKeepsItsRelativePicture) {
  plugin.useFakeBrowser("width=64\nheight=48\n");
  plugin.keepShownPage();
  plugin.writeFile("Notes with pictures/pictures/logo.svg",
                   "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"8\" height=\"8\"/>\n");
  const std::filesystem::path note = shortPathOf(plugin.writeFile(
      "Notes with pictures/Weekly meeting notes.md",
      "# Weekly meeting\r\n\r\nseed:23 with the logo ![logo](pictures/logo.svg) in it\r\n"));
  ASSERT_NE(note.filename().wstring().find(L'~'), std::wstring::npos) << note;
  HandedOverPicture picture;
  ASSERT_EQ(plugin.picture(note, &picture), 0);
  EXPECT_EQ(differenceFromPattern(picture, 64, 48, 23), "");
  const std::string shown = plugin.shownPage();
  EXPECT_NE(shown.find("<h1>Weekly meeting</h1>"), std::string::npos) << shown;
  EXPECT_NE(shown.find("<img src=\"pictures/logo.svg\""), std::string::npos) << shown;
}

}  // namespace
}  // namespace ondrel::test
