// The file URLs of pages and of documents' folders, for every form of name a viewer may hand
// over. Pure text work, so the Linux build and the Windows build under wine64 must agree.

#include "capture/staging/file_url.h"

#include <gtest/gtest.h>

namespace ondrel {
namespace {

TEST(FileUrlTest, EscapesEverythingButNamesAndSeparators) {
  EXPECT_EQ(fileUrl(u"/home/user/page.html"), "file:///home/user/page.html");
  EXPECT_EQ(fileUrl(u"/tmp/a b#c?d%e.html"), "file:///tmp/a%20b%23c%3Fd%25e.html");
  EXPECT_EQ(fileUrl(u"/tmp/caf\u00e9.md"), "file:///tmp/caf%C3%A9.md");
  // On POSIX a backslash is part of a name.
  EXPECT_EQ(fileUrl(u"/tmp/a\\b.html"), "file:///tmp/a%5Cb.html");
}

TEST(FileUrlTest, WindowsDrivePathsAndUncNames) {
  EXPECT_EQ(fileUrl(u"C:\\Users\\me\\My Pages\\a.html"), "file:///C:/Users/me/My%20Pages/a.html");
  EXPECT_EQ(fileUrl(u"z:/build/page.htm"), "file:///z:/build/page.htm");
  EXPECT_EQ(fileUrl(u"\\\\server\\share\\dir\\a.html"), "file://server/share/dir/a.html");
  EXPECT_EQ(fileUrl(u"\\\\?\\D:\\long\\a.html"), "file:///D:/long/a.html");
  EXPECT_EQ(fileUrl(u"\\\\?\\UNC\\server\\share\\a.html"), "file://server/share/a.html");
}

TEST(FileUrlTest, RelativePathsHaveNone) {
  EXPECT_EQ(fileUrl(u"page.html"), std::nullopt);
  EXPECT_EQ(fileUrl(u"C:page.html"), std::nullopt);
  EXPECT_EQ(fileUrl(u""), std::nullopt);
}

// The base a staged page resolves "docs/shot.png" against: the document's own folder.
TEST(FolderUrlTest, EveryFormEndsInTheFoldersSlash) {
  EXPECT_EQ(folderUrl(u"C:\\Users\\me\\README.md"), "file:///C:/Users/me/");
  EXPECT_EQ(folderUrl(u"C:/Users/me/README.md"), "file:///C:/Users/me/");
  EXPECT_EQ(folderUrl(u"C:\\README.md"), "file:///C:/");
  EXPECT_EQ(folderUrl(u"\\\\server\\share\\docs\\README.md"), "file://server/share/docs/");
  EXPECT_EQ(folderUrl(u"\\\\server\\share\\README.md"), "file://server/share/");
  EXPECT_EQ(folderUrl(u"\\\\?\\D:\\very\\long\\README.md"), "file:///D:/very/long/");
  EXPECT_EQ(folderUrl(u"\\\\?\\UNC\\server\\share\\docs\\README.md"), "file://server/share/docs/");
  EXPECT_EQ(folderUrl(u"/home/me/notes/README.md"), "file:///home/me/notes/");
  EXPECT_EQ(folderUrl(u"/README.md"), "file:///");
}

TEST(FolderUrlTest, NamesThatUrlsReserveStayPartOfTheFolder) {
  EXPECT_EQ(folderUrl(u"C:\\My Documents\\a#b\\100%\\x?y\\README.md"),
            "file:///C:/My%20Documents/a%23b/100%25/x%3Fy/");
  // Japanese and accented names go as their UTF-8 bytes.
  EXPECT_EQ(folderUrl(u"C:\\\u30e1\u30e2\\caf\u00e9\\note.md"),
            "file:///C:/%E3%83%A1%E3%83%A2/caf%C3%A9/");
  EXPECT_EQ(folderUrl(u"/home/me/\u65e5\u672c/a b.md"), "file:///home/me/%E6%97%A5%E6%9C%AC/");
  // A "#" or "%" in the document's own name must not leak a piece of it into the folder.
  EXPECT_EQ(folderUrl(u"/tmp/docs/a/b#c%2Fd.md"), "file:///tmp/docs/a/");
  // On POSIX a backslash is part of a name, not a separator.
  EXPECT_EQ(folderUrl(u"/tmp/a\\b.md"), "file:///tmp/");
}

TEST(FolderUrlTest, NamesWithoutAFolderHaveNone) {
  EXPECT_EQ(folderUrl(u"README.md"), std::nullopt);
  EXPECT_EQ(folderUrl(u"docs\\README.md"), std::nullopt);
  EXPECT_EQ(folderUrl(u"C:README.md"), std::nullopt);
  EXPECT_EQ(folderUrl(u"\\\\server"), std::nullopt);
  EXPECT_EQ(folderUrl(u""), std::nullopt);
}

}  // namespace
}  // namespace ondrel
