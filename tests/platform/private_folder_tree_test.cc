// A browser's profile folder is filled by the browser, not by the plug-in: removing it must take
// everything in it, and nothing a link inside it points to.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "platform/private_folder.h"

namespace ondrel::platform {
namespace {

namespace fs = std::filesystem;

TEST(PrivateFolderTree, RemovesWhatAnotherProgramPutThereButNeverFollowsLinks) {
  std::optional<PrivateFolder> folder = PrivateFolder::makeFresh("ondrel-tree-test-");
  ASSERT_TRUE(folder);
  const fs::path root = fs::path(wideToUtf8(folder->path()));
  EXPECT_EQ(fs::status(root).permissions() & fs::perms::all, fs::perms::owner_all);

  const fs::path outside =
      fs::temp_directory_path() / ("ondrel-tree-outside-" + std::to_string(std::random_device()()));
  fs::create_directories(outside);
  std::ofstream(outside / "keep.txt") << "not the browser's";

  fs::create_directories(root / "Default" / "Cache" / "Data");
  std::ofstream(root / "Default" / "Preferences") << "{}";
  std::ofstream(root / "Default" / "Cache" / "Data" / "index") << "x";
  fs::create_directory_symlink(outside, root / "SingletonLink");
  fs::create_symlink(outside / "keep.txt", root / "Default" / "SingletonLock");

  EXPECT_TRUE(folder->removeTree());
  EXPECT_FALSE(fs::exists(fs::symlink_status(root)));
  EXPECT_TRUE(fs::exists(outside / "keep.txt"));
  fs::remove_all(outside);
}

}  // namespace
}  // namespace ondrel::platform
