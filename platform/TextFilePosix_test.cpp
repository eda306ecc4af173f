// What only POSIX systems have: named pipes, permission bits, symbolic links, fork and flock.
#include "platform/TextFile.h"
#include "testsupport/FailingWrites.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <random>
#include <thread>

#include "platform/TextFileTestKit.h"
#include "testsupport/TempDir.h"

using textfile::ReadStatus;
namespace fault = textfile::fault;

TEST(TextFile, ReadTellsMissingFromUnreadable) {
  TempDir dir;
  EXPECT_EQ(textfile::ReadLines(dir.File("none.txt")).status, ReadStatus::Missing);
  EXPECT_EQ(textfile::ReadLines(dir.File("no/such/file")).status, ReadStatus::Missing);
  std::filesystem::create_directory(dir.File("folder"));
  EXPECT_EQ(textfile::ReadLines(dir.File("folder")).status, ReadStatus::Error);
  // A named pipe with no writer would block open() for ever: it answers "cannot read" at once.
  ASSERT_EQ(::mkfifo(dir.File("Teldat1.tel").c_str(), 0644), 0);
  EXPECT_EQ(textfile::ReadAll(dir.File("Teldat1.tel")).status, ReadStatus::Error);
  EXPECT_EQ(textfile::ReadAll("/dev/null").status, ReadStatus::Error);
  dir.Write("f.txt", "1\r\n2");
  auto l = textfile::ReadLines(dir.File("f.txt"));
  EXPECT_EQ(l.status, ReadStatus::Ok);
  EXPECT_EQ(l.lines, (std::vector<std::string>{"1", "2"}));
}

TEST(TextFile, RewriteKeepsThePermissions) {
  TempDir dir;
  dir.Write("p.txt", "a");
  ::chmod(dir.File("p.txt").c_str(), 0600);
  ASSERT_TRUE(WriteOk(dir.File("p.txt"), "b"));
  struct stat st {};
  ::stat(dir.File("p.txt").c_str(), &st);
  EXPECT_EQ(st.st_mode & 0777, 0600u);
}

TEST(TextFile, RewriteGoesThroughSymbolicLinks) {
  TempDir dir;
  std::filesystem::create_directory(dir.File("real"));
  dir.Write("real/dnstplus.ini", "old");
  std::filesystem::create_symlink("real/dnstplus.ini", dir.File("link1"));
  std::filesystem::create_symlink(dir.File("link1"), dir.File("link2"));  // a chain, absolute
  ASSERT_TRUE(WriteOk(dir.File("link2"), "new"));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link1")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link2")));
  EXPECT_EQ(dir.Read("real/dnstplus.ini"), "new");
  EXPECT_EQ(FileCount(dir.File("real")), 1);  // the temporary went beside the target and is gone
  // A dangling link: its target is created.
  std::filesystem::create_symlink("real/Teldat1.tel", dir.File("dangling"));
  ASSERT_TRUE(WriteOk(dir.File("dangling"), "x"));
  EXPECT_EQ(dir.Read("real/Teldat1.tel"), "x");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling")));
}

// A process killed at any moment of a rewrite leaves exactly the old or the new content.
TEST(TextFile, KillDuringRewriteLeavesOldOrNew) {
  TempDir dir;
  const std::string a(20000, 'a'), b(70000, 'b');
  dir.Write("f.txt", a);
  std::mt19937 rng(12345);
  std::uniform_int_distribution<int> waitUs(0, 3000);
  for (int round = 0; round < 200; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i)
        if (!textfile::WriteAtomic(dir.File("f.txt"), i % 2 ? a : b)) ::_exit(3);
    }
    std::this_thread::sleep_for(std::chrono::microseconds(waitUs(rng)));
    ::kill(child, SIGKILL);
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFSIGNALED(status)) << "the writer failed by itself";
    const std::string now = dir.Read("f.txt");
    ASSERT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
}

TEST(TextFile, LeftoverTemporaryFilesOfKilledRewritesAreRemovedButNoneBeingWritten) {
  TempDir d;
  for (const char* name : {"ToDo.dat.a1B2c3", "freememo.dat.zzzzzz", "ToDo.dat.short", "other.txt.a1B2c3",
                           "ToDo.dat.held00", "ToDo.dat"})
    d.Write(name, "x");
  std::filesystem::create_directory(d.File("ToDo.dat.dir000"));
  // A rewrite in progress holds its temporary file locked.
  const int held = ::open(d.File("ToDo.dat.held00").c_str(), O_RDONLY);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);
  auto ours = [](std::string_view base) { return base == "ToDo.dat" || base == "freememo.dat"; };
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 3600), 0u);  // all too young
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 0), 2u);
  EXPECT_FALSE(d.Exists("ToDo.dat.a1B2c3"));
  EXPECT_FALSE(d.Exists("freememo.dat.zzzzzz"));
  for (const char* kept :
       {"ToDo.dat.short", "other.txt.a1B2c3", "ToDo.dat.held00", "ToDo.dat", "ToDo.dat.dir000"})
    EXPECT_TRUE(d.Exists(kept)) << kept;
  ::close(held);
  // A rewrite leaves nothing behind and holds its lock until the rename (nothing to clean meanwhile).
  ASSERT_TRUE(textfile::WriteAtomic(d.File("ToDo.dat"), "new"));
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 0), 1u);  // only the one no longer held
  EXPECT_EQ(d.Read("ToDo.dat"), "new");
}

TEST(TextFilePosix, OfSeveralSpellingsTheExactOneElseTheFirstInByteOrder) {
  TempDir dir;
  dir.Write("todo.dat", "a");
  dir.Write("TODO.DAT", "b");
  dir.Write("ToDo.Dat", "c");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "ToDo.dat"), "TODO.DAT");
  dir.Write("ToDo.dat", "d");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "ToDo.dat"), "ToDo.dat");
}
