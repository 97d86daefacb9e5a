#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "platform/files.h"

namespace fs = std::filesystem;

TEST(Files, ExecutableFolderIsTheTestBinarysFolder) {
  const std::string folder = plat::ExecutableFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '/');
  EXPECT_TRUE(fs::exists(folder + "test_platform"));
}

TEST(Files, FindMatchesFilesOnlyAndDeleteRemovesThem) {
  const fs::path dir = fs::temp_directory_path() / ("plat_files_" + std::to_string(getpid()));
  fs::remove_all(dir);
  ASSERT_TRUE(plat::CreateFolder(dir.string()));
  EXPECT_TRUE(plat::CreateFolder(dir.string()));  // existing is fine
  for (const char* name : {"nvs_1.xml", "nvs_list.xml", "other.xml", "nvs_.txt"}) std::ofstream(dir / name) << "x";
  fs::create_directory(dir / "nvs_d.xml");
  auto found = plat::FindFiles(dir.string() + "/", "nvs_*.xml");
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"nvs_1.xml", "nvs_list.xml"}));
  for (const auto& name : found) EXPECT_TRUE(plat::DeleteFile((dir / name).string()));
  EXPECT_FALSE(plat::DeleteFile((dir / "nvs_1.xml").string()));
  EXPECT_TRUE(fs::exists(dir / "other.xml"));
  EXPECT_TRUE(fs::is_directory(dir / "nvs_d.xml"));
  EXPECT_TRUE(plat::FindFiles((dir / "missing").string(), "*").empty());
  fs::remove_all(dir);
}

TEST(Files, TrailingSeparatorIsAddedOnce) {
  EXPECT_EQ(plat::WithTrailingSeparator("/a/b"), "/a/b/");
  EXPECT_EQ(plat::WithTrailingSeparator("/a/b/"), "/a/b/");
  EXPECT_EQ(plat::WithTrailingSeparator("C:\\xml\\"), "C:\\xml\\");
}
