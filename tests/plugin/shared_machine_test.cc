// Two users on one machine: the other one has made the folder where the
// plug-in keeps its captures, and filled it with links named like the
// capture's files, pointing at the victim's own file and at a picture of its
// choosing. The victim's captures must neither write through the links, nor
// show the planted picture, nor fail because of the folder.
//
// Handing a folder to another user takes root; elsewhere these tests skip.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>

#include "capture/staging/capture_names.h"
#include "platform/host_support.h"
#include "tests/plugin/handed_over_picture.h"
#include "tests/plugin/plugin_module.h"
#include "tests/support/png_writer.h"
#include "tests/support/scratch_folder.h"
#include "tests/support/test_pattern.h"

namespace ondrel::test {
namespace {

namespace fs = std::filesystem;

constexpr char kPrecious[] = "the victim's own data\n";
constexpr std::uint8_t kPlantedSeed = 200;

std::string htmlPage(int seed) {
  return "<html><body>seed:" + std::to_string(seed) +
         "</body></html>\n<!-- padding to the sixty-four bytes a picture needs -->\n";
}

uid_t otherUser() {
  const passwd* nobody = getpwnam("nobody");
  return nobody != nullptr ? nobody->pw_uid : 65534;
}

class SharedMachineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (geteuid() != 0) GTEST_SKIP() << "handing a folder to another user takes root";
    sentinel_ = plugin.folder() / "victim-file";
    std::ofstream(sentinel_) << kPrecious;
    fs::permissions(sentinel_, fs::perms::owner_read | fs::perms::owner_write);
    plantedPicture_ = encodePng(patternImage(32, 16, kPlantedSeed));
  }

  // The other user's folder where the plug-in would keep its captures, with
  // links under every name this thread's captures of `page` would take first.
  void plantFolder(const std::string& page, mode_t mode) {
    const fs::path folder = plugin.captureFolder();
    ASSERT_EQ(mkdir(folder.c_str(), 0700), 0);
    const fs::path picture = folder / "picture.png";
    std::ofstream(picture, std::ios::binary) << plantedPicture_;
    for (int attempt = 0; attempt < 4; ++attempt) {
      for (const char16_t* extension : {u".png", u".htm"}) {
        const fs::path name = captureFileName(utf8ToWide(page), extension, attempt).value();
        // Half the links reach the victim's file, half the planted picture.
        fs::create_symlink(attempt % 2 == 0 ? sentinel_ : picture, folder / name);
        ASSERT_EQ(lchown((folder / name).c_str(), otherUser(), otherUser()), 0);
      }
    }
    ASSERT_EQ(chown(picture.c_str(), otherUser(), otherUser()), 0);
    ASSERT_EQ(chown(folder.c_str(), otherUser(), otherUser()), 0);
    ASSERT_EQ(chmod(folder.c_str(), mode), 0);
    plantedNames_ = folderContents();
  }

  std::vector<std::string> folderContents() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(plugin.captureFolder())) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }

  int picture(const fs::path& page, HandedOverPicture& result) {
    return plugin.picture(page, &result);
  }

  // Nothing of the other user's was changed, and the victim left nothing.
  void expectUntouched() {
    EXPECT_EQ(readWholeFile(sentinel_), kPrecious);
    EXPECT_EQ(readWholeFile(plugin.captureFolder() / "picture.png"), plantedPicture_);
    EXPECT_EQ(folderContents(), plantedNames_);
    std::vector<std::string> temporary;
    for (const auto& entry : fs::directory_iterator(plugin.folder() / "tmp")) {
      temporary.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(temporary, std::vector<std::string>{plugin.captureFolder().filename().string()});
  }

  PluginModule plugin;
  fs::path sentinel_;
  std::string plantedPicture_;
  std::vector<std::string> plantedNames_;
};

TEST_F(SharedMachineTest, AnOpenFolderOfAnotherUserCannotRedirectTheCapture) {
  plantFolder("page.html", 0777);
  plugin.useFakeBrowser("width=32\nheight=16\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(plugin.writeFile("page.html", htmlPage(17)), result), 0);
  EXPECT_EQ(differenceFromPattern(result, 32, 16, 17), "") << "the fake browser's own picture";
  expectUntouched();
}

TEST_F(SharedMachineTest, ABrowserThatWritesNothingNeverShowsThePlantedPicture) {
  plantFolder("page.html", 0777);
  plugin.useFakeBrowser("width=32\nheight=16\n");
  plugin.setBrowserMode("no-screenshot");
  HandedOverPicture result;
  EXPECT_EQ(picture(plugin.writeFile("page.html", htmlPage(17)), result), 6);
  expectUntouched();
}

TEST_F(SharedMachineTest, MarkdownIsStagedPastThePlantedLinks) {
  plantFolder("notes.md", 0777);
  plugin.useFakeBrowser("width=32\nheight=16\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(plugin.writeFile(
                        "notes.md",
                        "# Notes\n\nseed:23 and a paragraph long enough for a picture of it\n"),
                    result),
            0);
  EXPECT_EQ(differenceFromPattern(result, 32, 16, 23), "");
  expectUntouched();
}

TEST_F(SharedMachineTest, AClosedFolderOfAnotherUserDoesNotStopTheCapture) {
  plantFolder("page.html", 0700);
  plugin.useFakeBrowser("width=32\nheight=16\n");
  HandedOverPicture result;
  ASSERT_EQ(picture(plugin.writeFile("page.html", htmlPage(31)), result), 0);
  EXPECT_EQ(differenceFromPattern(result, 32, 16, 31), "");
  expectUntouched();
}

}  // namespace
}  // namespace ondrel::test
