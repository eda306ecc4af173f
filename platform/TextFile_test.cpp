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

#include "testsupport/TempDir.h"

using textfile::ReadStatus;
namespace fault = textfile::fault;

namespace {
bool WriteOk(const std::string& path, std::string_view bytes,
             textfile::InPlace inPlace = textfile::InPlace::Refused) {
  return static_cast<bool>(textfile::WriteAtomic(path, bytes, inPlace));
}
int FileCount(const std::string& folder) {
  int n = 0;
  for (auto& e : std::filesystem::directory_iterator(folder)) (void)e, ++n;
  return n;
}
}  // namespace

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
  // A named pipe with no writer would block open() for ever: it answers "cannot read" at once.
  ASSERT_EQ(::mkfifo(dir.File("Teldat1.tel").c_str(), 0644), 0);
  EXPECT_EQ(textfile::ReadAll(dir.File("Teldat1.tel")).status, ReadStatus::Error);
  EXPECT_EQ(textfile::ReadAll("/dev/null").status, ReadStatus::Error);
  dir.Write("f.txt", "1\r\n2");
  auto l = textfile::ReadLines(dir.File("f.txt"));
  EXPECT_EQ(l.status, ReadStatus::Ok);
  EXPECT_EQ(l.lines, (std::vector<std::string>{"1", "2"}));
}

TEST(TextFile, AtomicWriteReplacesWholeAndLeavesNoTemporary) {
  TempDir dir;
  dir.Write("f.txt", "old content that is longer");
  ASSERT_TRUE(WriteOk(dir.File("f.txt"), "new\r\n"));
  EXPECT_EQ(dir.Read("f.txt"), "new\r\n");
  int files = 0;
  for (auto& e : std::filesystem::directory_iterator(dir.Path())) (void)e, ++files;
  EXPECT_EQ(files, 1);
}

TEST(TextFile, FailedWriteKeepsTheOldFile) {
  TempDir dir;
  dir.Write("ro.txt", "keep");
  ::chmod(dir.File("ro.txt").c_str(), 0444);
  EXPECT_FALSE(WriteOk(dir.File("ro.txt"), "lost"));
  EXPECT_EQ(dir.Read("ro.txt"), "keep");

  EXPECT_FALSE(WriteOk(dir.File("missing-folder/f.txt"), "x"));
  std::filesystem::create_directory(dir.File("sub"));
  EXPECT_FALSE(WriteOk(dir.File("sub"), "x"));  // a folder is never replaced
  EXPECT_TRUE(std::filesystem::is_directory(dir.File("sub")));
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

TEST(TextFile, LineBreaksBecomeCrLf) {
  EXPECT_EQ(textfile::CrLfLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(textfile::CrLfLineBreaks("plain"), "plain");
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

TEST(TextFile, EveryFailingStepKeepsTheOldFileAndLeavesNoTemporary) {
  TempDir dir;
  const std::string big(300000, 'b');  // several write calls
  for (auto step : {fault::Step::Create, fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
    for (int nth : {1, 3}) {
      if (nth == 3 && step != fault::Step::Write) continue;
      dir.Write("f.txt", "old");
      fault::Inject(step, nth);
      EXPECT_FALSE(WriteOk(dir.File("f.txt"), big)) << static_cast<int>(step) << " " << nth;
      fault::Clear();
      EXPECT_EQ(dir.Read("f.txt"), "old");
      EXPECT_EQ(FileCount(dir.Path()), 1);
    }
  }
  // The fault is spent after one failure: the next rewrite succeeds.
  fault::Inject(fault::Step::Sync, 1);
  EXPECT_FALSE(WriteOk(dir.File("f.txt"), "x"));
  EXPECT_TRUE(WriteOk(dir.File("f.txt"), "y"));
  EXPECT_EQ(dir.Read("f.txt"), "y");
}

TEST(TextFile, AFolderThatRefusesATemporaryFileGetsAnInPlaceRewriteWhereAllowed) {
  TempDir dir;
  dir.Write("dnstplus.ini", "a much longer old content");
  fault::Inject(fault::Step::Create);  // the folder refuses the temporary file
  EXPECT_FALSE(WriteOk(dir.File("dnstplus.ini"), "new"));
  EXPECT_EQ(dir.Read("dnstplus.ini"), "a much longer old content");

  fault::Inject(fault::Step::Create);
  ASSERT_TRUE(WriteOk(dir.File("dnstplus.ini"), "new", textfile::InPlace::Allowed));
  EXPECT_EQ(dir.Read("dnstplus.ini"), "new");  // truncated to the new length
  fault::Inject(fault::Step::Create);
  ASSERT_TRUE(WriteOk(dir.File("dnstplus.ini"), std::string(5000, 'z'), textfile::InPlace::Allowed));
  EXPECT_EQ(dir.Read("dnstplus.ini"), std::string(5000, 'z'));

  // Not for a file that is not there, nor for a read-only one.
  fault::Inject(fault::Step::Create);
  EXPECT_FALSE(WriteOk(dir.File("absent.ini"), "x", textfile::InPlace::Allowed));
  fault::Clear();
  EXPECT_FALSE(dir.Exists("absent.ini"));
  ::chmod(dir.File("dnstplus.ini").c_str(), 0444);
  fault::Inject(fault::Step::Create);
  EXPECT_FALSE(WriteOk(dir.File("dnstplus.ini"), "x", textfile::InPlace::Allowed));
  fault::Clear();
  EXPECT_EQ(dir.Read("dnstplus.ini"), std::string(5000, 'z'));
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

TEST(TextFile, AFailedRewriteSaysWhichStepFailedAndWhy) {
  TempDir d;
  d.Write("f.txt", "old");
  using textfile::Step;
  for (Step step : {Step::Create, Step::Write, Step::Sync, Step::Rename}) {
    textfile::fault::Inject(step);
    const textfile::WriteResult r = textfile::WriteAtomic(d.File("f.txt"), "new");
    EXPECT_FALSE(r);
    EXPECT_EQ(r.step, step);
    EXPECT_EQ(r.error, step == Step::Create ? EACCES : EIO);
    EXPECT_EQ(d.Read("f.txt"), "old");
  }
  textfile::fault::Clear();
  std::filesystem::create_directory(d.File("dir"));
  EXPECT_EQ(textfile::WriteAtomic(d.File("dir"), "x").step, Step::Create);
  ::chmod(d.File("f.txt").c_str(), 0444);
  const textfile::WriteResult ro = textfile::WriteAtomic(d.File("f.txt"), "x");
  EXPECT_EQ(ro.step, Step::Create);
  EXPECT_EQ(ro.error, EACCES);
  EXPECT_EQ(textfile::WriteAtomic(d.File("no/such/folder/f.txt"), "x").error, ENOENT);
  EXPECT_TRUE(textfile::WriteAtomic(d.File("g.txt"), "x"));
  // The common causes, as the user reads them.
  EXPECT_EQ(textfile::ReasonText(ENOSPC), "ディスクの空き容量が足りません");
  EXPECT_EQ(textfile::ReasonText(EACCES), "アクセスが拒否されました");
  EXPECT_EQ(textfile::ReasonText(EROFS), "読み取り専用のファイルシステムです");
  EXPECT_EQ(textfile::ReasonText(ENOENT), "ファイルまたはフォルダーが見つかりません");
  EXPECT_EQ(textfile::ReasonText(EIO), "入出力エラーが発生しました");
  EXPECT_EQ(textfile::ReasonText(EINVAL), "");
}
