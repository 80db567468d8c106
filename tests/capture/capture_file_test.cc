// Where a capture keeps its files, and that it takes them all away again.

#include "capture/staging/capture_file.h"

#include <gtest/gtest.h>

#include "capture/staging/capture_names.h"
#include "platform/host_support.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_pattern.h"

namespace ondrel {
namespace {

namespace fs = std::filesystem;

class CaptureFileTest : public ::testing::Test {
 protected:
  fs::path captureFolder() const { return fs::path(platform::captureFolderLocation().value()); }

  platform::ComApartment com;
  test::ScratchFolder scratch;
};

TEST_F(CaptureFileTest, ScreenshotAndStagedPageSitInTheCaptureFolderUntilTheCaptureEnds) {
  {
    std::optional<CaptureFile> files = CaptureFile::make(u"docs/notes.md", u".png", {});
    ASSERT_TRUE(files);
    EXPECT_EQ(fs::path(files->folder()), captureFolder());
    EXPECT_EQ(captureFolder().parent_path(), scratch.temporary());
    const fs::path screenshot(files->path());
    EXPECT_EQ(screenshot.parent_path(), captureFolder());
    EXPECT_EQ(screenshot.filename().u16string(), captureFileName(u"notes.md", u".png").value());
    EXPECT_TRUE(fs::is_regular_file(screenshot));
    EXPECT_EQ(fs::file_size(screenshot), 0u) << "the screenshot starts empty";

    const std::optional<CaptureFile> stagedFile =
        CaptureFile::make(u"docs/notes.md", u".htm", "<p>text</p>\r\n");
    ASSERT_TRUE(stagedFile);
    const WideString& staged = stagedFile->path();
    EXPECT_EQ(fs::path(staged).parent_path(), captureFolder());
    EXPECT_EQ(fs::path(staged).filename().u16string(),
              captureFileName(u"notes.md", u".htm").value());
    EXPECT_EQ(test::readWholeFile(staged), "<p>text</p>\r\n");
  }
  EXPECT_EQ(scratch.temporaryContents(), std::vector<std::string>());
}

TEST_F(CaptureFileTest, TheSharedFolderStaysWhileAnotherCaptureHasFilesInIt) {
  std::optional<CaptureFile> first = CaptureFile::make(u"first.html", u".png", {});
  std::optional<CaptureFile> second = CaptureFile::make(u"second.html", u".png", {});
  ASSERT_TRUE(first && second);
  EXPECT_EQ(first->folder(), second->folder());
  const fs::path secondScreenshot(second->path());
  first.reset();
  EXPECT_TRUE(fs::exists(secondScreenshot));
  second.reset();
  EXPECT_EQ(scratch.temporaryContents(), std::vector<std::string>());
}

TEST_F(CaptureFileTest, TheScreenshotIsDecodedWithinTheCaptureSize) {
  std::optional<CaptureFile> files = CaptureFile::make(u"page.html", u".png", {});
  ASSERT_TRUE(files);
  EXPECT_FALSE(files->decodePng(16, 8)) << "an empty file is no picture";

  ASSERT_TRUE(test::writePng(fs::path(files->path()), test::patternImage(20, 10, 7)));
  const std::unique_ptr<platform::ScreenshotBitmap> whole = files->decodePng(20, 10);
  ASSERT_TRUE(whole);
  EXPECT_EQ(whole->width(), 20);
  EXPECT_EQ(whole->height(), 10);
  const std::unique_ptr<platform::ScreenshotBitmap> cut = files->decodePng(16, 8);
  ASSERT_TRUE(cut);
  EXPECT_EQ(cut->width(), 16);
  EXPECT_EQ(cut->height(), 8);
}

TEST_F(CaptureFileTest, PagesWhoseNamesDoNotFitAreRefused) {
  EXPECT_FALSE(CaptureFile::make(WideString(300, u'a') + u".html", u".png", {}));
  EXPECT_EQ(scratch.temporaryContents(), std::vector<std::string>());
}

}  // namespace
}  // namespace ondrel
