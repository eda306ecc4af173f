#include "platform/TextFile.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "testsupport/TempDir.h"

using textfile::ReadStatus;

TEST(TextFile, SplitsOnCrLfCrAndLf) {
  using V = std::vector<std::string>;
  EXPECT_EQ(textfile::SplitLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(textfile::SplitLines("a\r\n"), (V{"a"}));
  EXPECT_EQ(textfile::SplitLines("\r\n\r\n"), (V{"", ""}));
  EXPECT_EQ(textfile::SplitLines("\n\r"), (V{"", ""}));  // LF then a lone CR: two empty lines
  EXPECT_EQ(textfile::SplitLines(""), V{});
  EXPECT_EQ(textfile::JoinCrLf({"x", "", "y"}), "x\r\n\r\ny\r\n");
}

TEST(TextFile, ReadTellsMissingFromUnreadable) {
  TempDir dir;
  EXPECT_EQ(textfile::ReadLines(dir.File("none.txt")).status, ReadStatus::Missing);
  EXPECT_EQ(textfile::ReadLines(dir.File("no/such/file")).status, ReadStatus::Missing);
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_EQ(textfile::ReadLines(dir.File("folder")).status, ReadStatus::Error);
  dir.Write("f.txt", "1\r\n2");
  auto l = textfile::ReadLines(dir.File("f.txt"));
  EXPECT_EQ(l.status, ReadStatus::Ok);
  EXPECT_EQ(l.lines, (std::vector<std::string>{"1", "2"}));
}

TEST(TextFile, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  TempDir dir;
  dir.Write("f.txt", "old content that is longer");
  ASSERT_TRUE(textfile::WriteAtomic(dir.File("f.txt"), "new\r\n"));
  EXPECT_EQ(dir.Read("f.txt"), "new\r\n");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(TextFile, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  dir.Write("ro.txt", "keep");
  ::chmod(dir.File("ro.txt").c_str(), 0444);
  EXPECT_FALSE(textfile::WriteAtomic(dir.File("ro.txt"), "lost"));
  EXPECT_EQ(dir.Read("ro.txt"), "keep");

  EXPECT_FALSE(textfile::WriteAtomic(dir.File("missing-folder/f.txt"), "x"));
  std::filesystem::create_directory(dir.File("sub"));
  EXPECT_FALSE(textfile::WriteAtomic(dir.File("sub"), "x"));  // a folder is never replaced
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("sub")));
}

TEST(TextFile, RewriteKeepsThePermissions) {
  TempDir dir;
  dir.Write("p.txt", "a");
  ::chmod(dir.File("p.txt").c_str(), 0600);
  ASSERT_TRUE(textfile::WriteAtomic(dir.File("p.txt"), "b"));
  struct stat st {};
  ::stat(dir.File("p.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}
