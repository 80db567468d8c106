// The browser's command line and the names of a capture's temporary files.

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <thread>

#include "capture/screenshot_switch/browser_command_line.h"
#include "capture/staging/capture_names.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

// The tag "-<number>-<number>" after `stem`, empty when there is none.
std::string tagOf(const WideString& name, const std::string& stem) {
  const std::string text = wideToUtf8(name);
  const std::regex kTag("-[0-9]+-[0-9]+");
  std::smatch tag;
  if (text.compare(0, stem.size(), stem) != 0 ||
      !std::regex_search(text.begin() + std::ptrdiff_t(stem.size()), text.end(), tag, kTag,
                         std::regex_constants::match_continuous)) {
    return {};
  }
  return tag.str();
}

TEST(BrowserCommandLine, ShortAndLongForms) {
  EXPECT_EQ(browserCommandLine(CommandLineForm::kShort, Elevation::kNone, u"C:\\b\\edge.exe", 1.0,
                               640, 480, u"C:\\t\\ondrel\\a.png", u"C:\\docs\\a.html"),
            u"\"C:\\b\\edge.exe\" --headless --window-size=640,480 "
            u"--screenshot=\"C:\\t\\ondrel\\a.png\" \"C:\\docs\\a.html\"");
  EXPECT_EQ(browserCommandLine(CommandLineForm::kLong, Elevation::kNone, u"/usr/bin/b", 1.0, -7,
                               2147483647, u"s.png", u"p.svg"),
            u"\"/usr/bin/b\" --headless --disable-extensions --hide-scrollbars "
            u"--window-size=-7,2147483647 --screenshot=\"s.png\" \"p.svg\"");
}

TEST(BrowserCommandLine, AnElevatedCallerKeepsTheBrowserElevated) {
  EXPECT_EQ(browserCommandLine(CommandLineForm::kShort, Elevation::kFull, u"b.exe", 1.0, 1, 2,
                               u"s.png", u"p.html"),
            u"\"b.exe\" --headless --do-not-de-elevate --window-size=1,2 --screenshot=\"s.png\" "
            u"\"p.html\"");
  EXPECT_EQ(browserCommandLine(CommandLineForm::kLong, Elevation::kFull, u"b.exe", 1.0, 1, 2,
                               u"s.png", u"p.html"),
            u"\"b.exe\" --headless --do-not-de-elevate --disable-extensions --hide-scrollbars "
            u"--window-size=1,2 --screenshot=\"s.png\" \"p.html\"");
}

// The scale goes in only when it is not 1, as the shortest decimal that reads back as itself.
TEST(BrowserCommandLine, AScaleOtherThanOneForcesTheDeviceScaleFactor) {
  const std::pair<double, const char16_t*> cases[] = {
      {2.0, u" --force-device-scale-factor=2"},
      {1.5, u" --force-device-scale-factor=1.5"},
      {1.25, u" --force-device-scale-factor=1.25"},
      {3.999, u" --force-device-scale-factor=3.999"},
      {1.0, u""},
  };
  for (const auto& [scale, scaleSwitch] : cases) {
    EXPECT_EQ(browserCommandLine(CommandLineForm::kLong, Elevation::kNone, u"b", scale, 800, 600,
                                 u"s.png", u"p.html"),
              u"\"b\" --headless --disable-extensions --hide-scrollbars" + WideString(scaleSwitch) +
                  u" --window-size=800,600 --screenshot=\"s.png\" \"p.html\"")
        << scale;
  }
}

TEST(CaptureNames, NamedAfterThePageWithTheCapturesOwnTag) {
  const WideString first = captureFileName(u"report.final.html", u".png").value();
  const std::string tag = tagOf(first, "report.final");
  ASSERT_FALSE(tag.empty()) << wideToUtf8(first);
  const std::pair<const char16_t*, std::string> cases[] = {
      {u"report.final.html", "report.final" + tag + ".png"},
      {u"page", "page" + tag + ".png"},
      {u"notes.MD", "notes" + tag + ".png"},
  };
  for (const auto& [page, name] : cases) {
    const WideString inFolder = platform::combinePath(u"docs", page).value();
    EXPECT_EQ(wideToUtf8(captureFileName(inFolder, u".png").value()), name);
  }
}

TEST(CaptureNames, AnotherThreadTagsItsNamesApart) {
  const WideString here = captureFileName(u"page.html", u".png").value();
  WideString there;
  std::thread([&] { there = captureFileName(u"page.html", u".png").value(); }).join();
  EXPECT_FALSE(tagOf(there, "page").empty()) << wideToUtf8(there);
  EXPECT_NE(here, there);
}

TEST(CaptureNames, LaterAttemptsCountOnAfterTheTag) {
  const WideString first = captureFileName(u"notes.md", u".htm", 0).value();
  const std::string tag = tagOf(first, "notes");
  ASSERT_FALSE(tag.empty()) << wideToUtf8(first);
  EXPECT_EQ(wideToUtf8(first), "notes" + tag + ".htm");
  EXPECT_EQ(wideToUtf8(captureFileName(u"notes.md", u".htm", 1).value()), "notes" + tag + "-1.htm");
  EXPECT_EQ(wideToUtf8(captureFileName(u"notes.md", u".htm", 12).value()),
            "notes" + tag + "-12.htm");
}

TEST(CaptureNames, NamesThatDoNotFitAPathBufferAreRefused) {
  EXPECT_FALSE(captureFileName(WideString(300, u'a') + u".html", u".png"));
  EXPECT_FALSE(captureFileName(WideString(250, u'f') + u".html", u".png"));
  EXPECT_TRUE(captureFileName(WideString(200, u'f') + u".html", u".png"));
}

}  // namespace
}  // namespace ondrel
