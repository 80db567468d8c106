// The browser's command line and the names of a capture's temporary files.

#include <gtest/gtest.h>

#include "capture/browser_command_line.h"
#include "capture/capture_names.h"
#include "platform/process_identity.h"
#include "platform/shell_paths.h"

namespace ondrel {
namespace {

WideString tag() {
  return widenAscii("-" + std::to_string(platform::currentProcessId()) + "-" +
                    std::to_string(platform::currentThreadId()));
}

TEST(BrowserCommandLine, ShortAndLongForms) {
  EXPECT_EQ(browserCommandLine(CommandLineForm::kShort, Elevation::kNone, u"C:\\b\\edge.exe", 640,
                               480, u"C:\\t\\ondrel\\a.png", u"C:\\docs\\a.html"),
            u"\"C:\\b\\edge.exe\" --headless --window-size=640,480 "
            u"--screenshot=\"C:\\t\\ondrel\\a.png\" \"C:\\docs\\a.html\"");
  EXPECT_EQ(browserCommandLine(CommandLineForm::kLong, Elevation::kNone, u"/usr/bin/b", -7,
                               2147483647, u"s.png", u"p.svg"),
            u"\"/usr/bin/b\" --headless --disable-extensions --hide-scrollbars "
            u"--window-size=-7,2147483647 --screenshot=\"s.png\" \"p.svg\"");
}

TEST(BrowserCommandLine, AnElevatedCallerKeepsTheBrowserElevated) {
  EXPECT_EQ(browserCommandLine(CommandLineForm::kShort, Elevation::kFull, u"b.exe", 1, 2, u"s.png",
                               u"p.html"),
            u"\"b.exe\" --headless --do-not-de-elevate --window-size=1,2 --screenshot=\"s.png\" "
            u"\"p.html\"");
  EXPECT_EQ(browserCommandLine(CommandLineForm::kLong, Elevation::kFull, u"b.exe", 1, 2, u"s.png",
                               u"p.html"),
            u"\"b.exe\" --headless --do-not-de-elevate --disable-extensions --hide-scrollbars "
            u"--window-size=1,2 --screenshot=\"s.png\" \"p.html\"");
}

TEST(CaptureNames, NamedAfterThePageWithTheCapturesOwnTag) {
  const std::pair<const char16_t*, WideString> cases[] = {
      {u"report.final.html", u"report.final" + tag() + u".png"},
      {u"page", u"page" + tag() + u".png"},
      {u"notes.MD", u"notes" + tag() + u".png"},
  };
  for (const auto& [page, name] : cases) {
    const WideString inFolder = platform::combinePath(u"docs", page).value();
    EXPECT_EQ(captureFileName(inFolder, u".png"), name);
  }
}

TEST(CaptureNames, LaterAttemptsCountOnAfterTheTag) {
  EXPECT_EQ(captureFileName(u"notes.md", u".htm", 0), u"notes" + tag() + u".htm");
  EXPECT_EQ(captureFileName(u"notes.md", u".htm", 1), u"notes" + tag() + u"-1.htm");
  EXPECT_EQ(captureFileName(u"notes.md", u".htm", 12), u"notes" + tag() + u"-12.htm");
}

TEST(CaptureNames, NamesThatDoNotFitAPathBufferAreRefused) {
  EXPECT_FALSE(captureFileName(WideString(300, u'a') + u".html", u".png"));
  EXPECT_FALSE(captureFileName(WideString(250, u'f') + u".html", u".png"));
  EXPECT_TRUE(captureFileName(WideString(200, u'f') + u".html", u".png"));
}

}  // namespace
}  // namespace ondrel
