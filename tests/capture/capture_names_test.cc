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
  EXPECT_EQ(browserCommandLine(CommandLineForm::kShort, u"C:\\b\\edge.exe", 640, 480,
                               u"C:\\t\\ondrel\\a.png", u"C:\\docs\\a.html"),
            u"\"C:\\b\\edge.exe\" --headless --window-size=640,480 "
            u"--screenshot=\"C:\\t\\ondrel\\a.png\" \"C:\\docs\\a.html\"");
  EXPECT_EQ(
      browserCommandLine(CommandLineForm::kLong, u"/usr/bin/b", -7, 2147483647, u"s.png", u"p.svg"),
      u"\"/usr/bin/b\" --headless --disable-extensions --hide-scrollbars "
      u"--window-size=-7,2147483647 --screenshot=\"s.png\" \"p.svg\"");
}

TEST(CaptureNames, NamedAfterThePageWithTheCapturesOwnTag) {
  const WideString folder = platform::combinePath(u"base", u"ondrel").value();
  const std::pair<const char16_t*, WideString> cases[] = {
      {u"report.final.html", u"report.final" + tag() + u".png"},
      {u"page", u"page" + tag() + u".png"},
      {u"notes.MD", u"notes" + tag() + u".png"},
  };
  for (const auto& [page, name] : cases) {
    const WideString inFolder = platform::combinePath(u"docs", page).value();
    EXPECT_EQ(captureFileName(folder, inFolder, u".png"), platform::combinePath(folder, name));
  }
}

TEST(CaptureNames, MarkdownPagesGetAStagedPageBesideTheScreenshot) {
  const std::optional<CaptureNames> names = makeCaptureNames(u"notes.md", true);
  ASSERT_TRUE(names);
  EXPECT_EQ(platform::stripPath(names->captureFolder), u"ondrel");
  EXPECT_EQ(platform::stripPath(names->screenshotPath), u"notes" + tag() + u".png");
  EXPECT_EQ(platform::stripPath(names->stagedPagePath), u"notes" + tag() + u".htm");
  EXPECT_TRUE(makeCaptureNames(u"page.html", false)->stagedPagePath.empty());
}

TEST(CaptureNames, NamesThatDoNotFitAPathBufferAreRefused) {
  EXPECT_FALSE(makeCaptureNames(WideString(300, u'a') + u".html", false));
  EXPECT_FALSE(captureFileName(WideString(250, u'f'), u"page.html", u".png"));
}

}  // namespace
}  // namespace ondrel
