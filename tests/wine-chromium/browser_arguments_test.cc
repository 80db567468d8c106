// The module's command lines for a Windows browser, as the stand-in turns
// them into the Linux browser's: with a translation of the tests' own, and
// with wine's.

#include "tests/wine-chromium/browser_arguments.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "tests/wine-chromium/unix_paths.h"

namespace ondrel::wine_chromium {
namespace {

// "C:\x\y" becomes "/c/x/y"; names on drive Q: have no Unix form.
std::optional<std::string> toyUnixPath(WideView path) {
  if (path.starts_with(u"Q:")) return std::nullopt;
  std::string unix = "/";
  for (const char c : wideToUtf8(path)) {
    if (c == ':') continue;
    unix += c == '\\' ? '/' : char(std::tolower(static_cast<unsigned char>(c)));
  }
  return unix;
}

std::optional<UnixLaunch> launchOf(const std::vector<WideString>& arguments, std::string& failed) {
  return unixLaunchOf(arguments, toyUnixPath, failed);
}

TEST(BrowserArguments, OneShotLineGetsUnixFileNamesAndKeepsEverythingElse) {
  std::string failed;
  const auto launch =
      launchOf({u"--headless", u"--do-not-de-elevate", u"--window-size=640,480",
                u"--screenshot=C:\\Temp\\ondrel\\page-1.png", u"C:\\Pages\\a page.html"},
               failed);
  ASSERT_TRUE(launch);
  EXPECT_FALSE(launch->takesPipe);
  EXPECT_EQ(
      launch->arguments,
      (std::vector<std::string>{"--headless", "--do-not-de-elevate", "--window-size=640,480",
                                "--screenshot=/c/temp/ondrel/page-1.png", "/c/pages/a page.html"}));
}

// The profile stays on the Unix side (see browser_arguments.h).
TEST(BrowserArguments, DevToolsLineTakesThePipeAndLeavesTheProfileOut) {
  std::string failed;
  const auto launch = launchOf(
      {u"--headless", u"--remote-debugging-pipe", u"--user-data-dir=C:/Temp/profile-1",
       u"--disable-features=WebUIOmniboxPopup,SpareRendererForSitePerProcess", u"about:blank"},
      failed);
  ASSERT_TRUE(launch);
  EXPECT_TRUE(launch->takesPipe);
  EXPECT_EQ(
      launch->arguments,
      (std::vector<std::string>{
          "--headless", "--remote-debugging-pipe",
          "--disable-features=WebUIOmniboxPopup,SpareRendererForSitePerProcess", "about:blank"}));
}

// Only a drive letter with a separator, or two backslashes, starts a file name: a URL, a
// relative name or a switch value with a colon stays as it is.
TEST(BrowserArguments, OnlyAbsoluteWindowsNamesAreFileNames) {
  std::string failed;
  const auto launch = launchOf({u"file:///C:/x.html", u"C:relative", u"page.html", u"--flag=a:b",
                                u"\\\\server\\share\\x.htm", u"--x=\\\\?\\C:\\y"},
                               failed);
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->arguments,
            (std::vector<std::string>{"file:///C:/x.html", "C:relative", "page.html", "--flag=a:b",
                                      "///server/share/x.htm", "--x=///?/c/y"}));
}

TEST(BrowserArguments, ANameWithoutUnixFormIsNamed) {
  std::string failed;
  EXPECT_FALSE(launchOf({u"--headless", u"--screenshot=Q:\\shot.png", u"C:\\page.html"}, failed));
  EXPECT_EQ(failed, "--screenshot=Q:\\shot.png");
}

TEST(BrowserArguments, NonAsciiNamesArriveAsUtf8) {
  std::string failed;
  const auto launch = launchOf({u"C:\\B\u00e4der\\\u65e5\u672c.md"}, failed);
  ASSERT_TRUE(launch);
  EXPECT_EQ(launch->arguments, std::vector<std::string>{"/c/b\xc3\xa4"
                                                        "der/\xe6\x97\xa5\xe6\x9c\xac.md"});
}

// wine's own translation: drive Z: is the Unix root, and a short (8.3) name reaches the file
// its long name does.
TEST(UnixPaths, WineTranslatesDriveZAndShortNames) {
  EXPECT_EQ(unixPathOf(u"Z:\\tmp\\not-there-yet.png"), "/tmp/not-there-yet.png");
  EXPECT_EQ(windowsPathOf("/tmp"), WideString(u"Z:\\tmp"));

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / "ondrel long folder name for short names";
  std::filesystem::create_directories(folder);
  const std::filesystem::path file = folder / "a document with a long name.html";
  std::ofstream(file) << "<p>x</p>";
  wchar_t shortName[MAX_PATH];
  ASSERT_GT(GetShortPathNameW(file.c_str(), shortName, MAX_PATH), 0u);
  const WideString shortPath(reinterpret_cast<const char16_t*>(shortName));
  EXPECT_NE(shortPath, file.u16string());
  EXPECT_EQ(unixPathOf(shortPath), unixPathOf(file.u16string()));
  EXPECT_TRUE(
      unixPathOf(file.u16string())
          .value_or("")
          .ends_with("/ondrel long folder name for short names/a document with a long name.html"));
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace ondrel::wine_chromium
