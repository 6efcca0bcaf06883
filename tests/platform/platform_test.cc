#include "platform/platform.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

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

TEST(Platform, ForkedProcessesMakeDifferentGuids) {
  platform::Guid first = {};
  platform::CreateGuid(&first);  // the generator is running before the fork
  int fds[2];
  ASSERT_EQ(pipe(fds), 0);
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    platform::Guid g = {};
    platform::CreateGuid(&g);
    const bool sent = write(fds[1], &g, sizeof g) == static_cast<ssize_t>(sizeof g);
    _exit(sent ? 0 : 1);
  }
  close(fds[1]);
  platform::Guid fromChild = {};
  const ssize_t n = read(fds[0], &fromChild, sizeof fromChild);
  close(fds[0]);
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  ASSERT_EQ(n, static_cast<ssize_t>(sizeof fromChild));
  platform::Guid mine = {};
  platform::CreateGuid(&mine);
  EXPECT_NE(std::memcmp(&mine, &fromChild, sizeof mine), 0)
      << "parent and child drew the same GUID after the fork";
  EXPECT_EQ(fromChild.data3 >> 12, 4);
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
