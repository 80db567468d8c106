// On a machine shared with other users, the temporary folder is everybody's:
// files, links and folders can be there before a capture looks. None of them
// may be written through, read as a picture, or stop a capture.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>

#include "capture/staging/capture_file.h"
#include "capture/staging/capture_names.h"
#include "platform/host_support.h"
#include "platform/private_folder.h"
#include "tests/support/environment.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_pattern.h"

namespace ondrel {
namespace {

namespace fs = std::filesystem;

constexpr char kPrecious[] = "the user's own data\n";

class PlantedFilesTest : public ::testing::Test {
 protected:
  PlantedFilesTest() {
    sentinel_ = scratch.path() / "sentinel";
    std::ofstream(sentinel_) << kPrecious;
    fs::permissions(sentinel_, fs::perms::owner_read | fs::perms::owner_write);
  }

  fs::path location() const { return fs::path(platform::captureFolderLocation().value()); }
  const fs::path& sentinel() const { return sentinel_; }
  std::string sentinelText() const { return test::readWholeFile(sentinel_); }

  static void makeFolder(const fs::path& folder, mode_t mode) {
    ASSERT_EQ(mkdir(folder.c_str(), mode), 0);
    ASSERT_EQ(chmod(folder.c_str(), mode), 0) << "past the umask";
  }

  test::ScratchFolder scratch;

 private:
  fs::path sentinel_;
};

TEST_F(PlantedFilesTest, TheCaptureFolderIsTheUsersOwnInTheTemporaryFolder) {
  EXPECT_EQ(location(), scratch.temporary() / ("ondrel-" + std::to_string(geteuid())));
  std::optional<CaptureFile> files = CaptureFile::make(u"page.html", u".png", {});
  ASSERT_TRUE(files);
  struct stat status;
  ASSERT_EQ(lstat(location().c_str(), &status), 0);
  EXPECT_TRUE(S_ISDIR(status.st_mode));
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  ASSERT_EQ(lstat(fs::path(files->path()).c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0600u);
}

TEST_F(PlantedFilesTest, TheRuntimeFolderIsUsedOnlyWhenNobodyElseCanWriteIt) {
  const fs::path runtime = scratch.path() / "run";
  makeFolder(runtime, 0700);
  platform::setEnvironmentVariable("XDG_RUNTIME_DIR", runtime.string());
  EXPECT_EQ(location(), runtime / "ondrel");
  {
    std::optional<CaptureFile> files = CaptureFile::make(u"page.html", u".png", {});
    ASSERT_TRUE(files);
    EXPECT_EQ(fs::path(files->folder()), runtime / "ondrel");
  }
  EXPECT_FALSE(fs::exists(runtime / "ondrel"));

  const fs::path inTemporary = scratch.temporary() / ("ondrel-" + std::to_string(geteuid()));
  ASSERT_EQ(chmod(runtime.c_str(), 0770), 0);
  EXPECT_EQ(location(), inTemporary) << "a group-writable runtime folder";
  platform::setEnvironmentVariable("XDG_RUNTIME_DIR", "run");
  EXPECT_EQ(location(), inTemporary) << "a relative runtime folder";
  platform::setEnvironmentVariable("XDG_RUNTIME_DIR", (scratch.path() / "missing").string());
  EXPECT_EQ(location(), inTemporary) << "a missing runtime folder";
  test::unsetEnvironmentVariable("XDG_RUNTIME_DIR");
}

TEST_F(PlantedFilesTest, ALinkUnderTheScreenshotsNameIsPassedOver) {
  makeFolder(location(), 0700);
  const fs::path planted = location() / captureFileName(u"page.md", u".png").value();
  const fs::path plantedPage = location() / captureFileName(u"page.md", u".htm").value();
  fs::create_symlink(sentinel(), planted);
  fs::create_symlink(sentinel(), plantedPage);
  {
    std::optional<CaptureFile> files = CaptureFile::make(u"/docs/page.md", u".png", {});
    ASSERT_TRUE(files);
    EXPECT_EQ(fs::path(files->path()).filename().u16string(),
              captureFileName(u"page.md", u".png", 1).value());
    const std::optional<CaptureFile> staged =
        CaptureFile::make(u"/docs/page.md", u".htm", "<p>page</p>");
    ASSERT_TRUE(staged);
    EXPECT_EQ(fs::path(staged->path()).filename().u16string(),
              captureFileName(u"page.md", u".htm", 1).value());
  }
  EXPECT_EQ(sentinelText(), kPrecious);
  EXPECT_TRUE(fs::is_symlink(planted)) << "what the capture did not make, it leaves alone";
  EXPECT_TRUE(fs::is_symlink(plantedPage));
}

TEST_F(PlantedFilesTest, AFolderOthersCanWriteIsNeverWrittenInto) {
  makeFolder(location(), 0777);
  fs::path used;
  {
    std::optional<CaptureFile> files = CaptureFile::make(u"page.html", u".png", {});
    ASSERT_TRUE(files);
    used = fs::path(files->folder());
    EXPECT_NE(used, location());
    EXPECT_EQ(used.parent_path(), location().parent_path());
    EXPECT_EQ(used.filename().string().rfind(location().filename().string() + "-", 0), 0u)
        << "a fresh folder beside it, named after it: " << used;
    EXPECT_TRUE(fs::is_empty(location()));
  }
  EXPECT_FALSE(fs::exists(used)) << "the fresh folder goes with the capture";
  EXPECT_TRUE(fs::is_directory(location()));
}

TEST_F(PlantedFilesTest, ALinkInPlaceOfTheFolderIsNotFollowed) {
  const fs::path elsewhere = scratch.path() / "elsewhere";
  makeFolder(elsewhere, 0700);
  fs::create_directory_symlink(elsewhere, location());
  {
    std::optional<CaptureFile> files = CaptureFile::make(u"page.html", u".png", {});
    ASSERT_TRUE(files);
    EXPECT_NE(fs::path(files->folder()), location());
    EXPECT_TRUE(fs::is_empty(elsewhere));
  }
  EXPECT_TRUE(fs::is_symlink(location()));
}

TEST_F(PlantedFilesTest, OnlyPlainFilesTheFolderHoldsAreDecoded) {
  std::optional<platform::PrivateFolder> folder = platform::PrivateFolder::makeFresh("ondrel-t-");
  ASSERT_TRUE(folder);
  const fs::path inside(folder->path());
  const fs::path picture = scratch.path() / "planted.png";
  ASSERT_TRUE(test::writePng(picture, test::patternImage(4, 4, 9)));
  fs::create_symlink(picture, inside / "link.png");
  ASSERT_EQ(mkfifo((inside / "pipe.png").c_str(), 0600), 0);

  EXPECT_FALSE(folder->decodePng(u"link.png", 4, 4)) << "a link is not followed";
  EXPECT_FALSE(folder->decodePng(u"pipe.png", 4, 4)) << "a pipe is not waited on";
  EXPECT_FALSE(folder->decodePng(u"../planted.png", 4, 4)) << "no way out of the folder";
  EXPECT_EQ(folder->createFile(u"link.png", "x"), platform::NewFile::kNameTaken);
  EXPECT_EQ(folder->createFile(u"pipe.png", "x"), platform::NewFile::kNameTaken);
  EXPECT_EQ(folder->createFile(u"sub/name", "x"), platform::NewFile::kFailed);
  ASSERT_EQ(folder->createFile(u"own.png", test::encodePng(test::patternImage(4, 4, 9))),
            platform::NewFile::kCreated);
  EXPECT_TRUE(folder->decodePng(u"own.png", 4, 4));

  struct stat status;
  ASSERT_EQ(lstat(inside.c_str(), &status), 0);
  EXPECT_EQ(status.st_mode & 0777, 0700u);
  fs::remove(inside / "link.png");
  fs::remove(inside / "pipe.png");
  folder.reset();
  EXPECT_FALSE(fs::exists(inside)) << "its own file goes, then the folder";
}

}  // namespace
}  // namespace ondrel
