#include "platform/platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "support/test_util.h"

namespace korva {
namespace {

TEST(Platform, GuidsAreRandomVersion4) {
  platform::Guid a = {}, b = {};
  platform::CreateGuid(&a);
  platform::CreateGuid(&b);
  EXPECT_NE(std::memcmp(&a, &b, sizeof a), 0);
  EXPECT_EQ(a.data3 >> 12, 4);
  EXPECT_EQ(a.data4[0] & 0xC0, 0x80);
}

TEST(Platform, PathsAcceptBothSeparatorsAndJoinOnce) {
  EXPECT_TRUE(platform::IsPathSeparator('/'));
  EXPECT_TRUE(platform::IsPathSeparator('\\'));
  const std::string sep(1, platform::PathSeparator());
  EXPECT_EQ(platform::JoinPath("a", "b"), "a" + sep + "b");
  EXPECT_EQ(platform::JoinPath("a\\", "b"), "a\\b");
  EXPECT_EQ(platform::JoinPath("a/", "b"), "a/b");
  EXPECT_EQ(platform::JoinPath("", "b"), "b");
}

TEST(Platform, ListsFoldersAndTellsFilesFromFolders) {
  test::TempDir dir;
  dir.write("one.ifc", "1");
  dir.write("two.stp", "2");
  std::vector<std::string> names;
  ASSERT_TRUE(platform::ListDirectory(dir.path(), &names));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"one.ifc", "two.stp"}));
  EXPECT_TRUE(platform::IsDirectory(dir.path()));
  EXPECT_FALSE(platform::IsDirectory(dir.file("one.ifc")));
  EXPECT_TRUE(platform::IsRegularFile(dir.file("one.ifc")));
  EXPECT_FALSE(platform::IsRegularFile(dir.path()));
  EXPECT_FALSE(platform::ListDirectory(dir.file("missing"), &names));
}

TEST(Platform, NoRegistryOutsideWindows) {
  std::string out = "untouched";
  EXPECT_FALSE(platform::ReadRegistryString(platform::Hive::kCurrentUser, "SOFTWARE", "x", &out));
  EXPECT_EQ(out, "untouched");
  EXPECT_FALSE(platform::RegistryKeyExists(platform::Hive::kLocalMachine, "SOFTWARE"));
  EXPECT_NE(platform::ProcessId(), 0u);
}

TEST(Platform, ReplaceFileMovesOverAnExistingFile) {
  test::TempDir dir;
  dir.write("new", "new text");
  dir.write("old", "old text");
  EXPECT_TRUE(platform::ReplaceFile(dir.file("new"), dir.file("old")));
  EXPECT_EQ(test::ReadFile(dir.file("old")), "new text");
  EXPECT_FALSE(test::FileExists(dir.file("new")));
  // A missing source leaves the target alone.
  EXPECT_FALSE(platform::ReplaceFile(dir.file("new"), dir.file("old")));
  EXPECT_EQ(test::ReadFile(dir.file("old")), "new text");
  EXPECT_TRUE(platform::RemoveFile(dir.file("old")));
  EXPECT_FALSE(platform::RemoveFile(dir.file("old")));
}

}  // namespace
}  // namespace korva
