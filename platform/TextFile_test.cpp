#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "platform/TextFileTestKit.h"
#include "testsupport/FailingWrites.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"

using textfile::ReadStatus;
namespace fault = textfile::fault;

TEST(TextFile, SplitsOnCrLfCrAndLf) {
  using V = std::vector<std::string>;
  EXPECT_EQ(textfile::SplitLines("a\r\nb\rc\nd"), (V{"a", "b", "c", "d"}));
  EXPECT_EQ(textfile::SplitLines("a\r\n"), (V{"a"}));
  EXPECT_EQ(textfile::SplitLines("\r\n\r\n"), (V{"", ""}));
  EXPECT_EQ(textfile::SplitLines("\n\r"), (V{"", ""}));  // LF then a lone CR: two empty lines
  EXPECT_EQ(textfile::SplitLines(""), V{});
  EXPECT_EQ(textfile::JoinCrLf({"x", "", "y"}), "x\r\n\r\ny\r\n");
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

TEST(TextFile, LineBreaksBecomeCrLf) {
  EXPECT_EQ(textfile::CrLfLineBreaks("a\rb\nc\r\nd\n\re"), "a\r\nb\r\nc\r\nd\r\n\r\ne");
  EXPECT_EQ(textfile::CrLfLineBreaks("plain"), "plain");
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
  testfiles::MakeReadOnly(dir.File("dnstplus.ini"));
  fault::Inject(fault::Step::Create);
  EXPECT_FALSE(WriteOk(dir.File("dnstplus.ini"), "x", textfile::InPlace::Allowed));
  fault::Clear();
  EXPECT_EQ(dir.Read("dnstplus.ini"), std::string(5000, 'z'));
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
  testfiles::MakeReadOnly(d.File("f.txt"));
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

TEST(TextFile, DataFileNamesAreFoundWhateverTheirCase) {
  TempDir dir;
  dir.Write("TODO.DAT", "x");
  std::filesystem::create_directory(dir.File("SCHEDULE"));
  dir.Write("SCHEDULE/SCH2612.DAT", "y");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "ToDo.dat"), "TODO.DAT");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "todo.dat.x"), "");
  // A folder is not a file, and a file is not a folder.
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "Schedule"), "");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "Schedule", textfile::Entry::Folder), "SCHEDULE");
  EXPECT_EQ(textfile::FindNameIgnoringCase(dir.Path(), "ToDo.dat", textfile::Entry::Folder), "");
  // Each part as it is on disk; a missing part (a new file, a new folder) as given.
  EXPECT_EQ(textfile::FindPathIgnoringCase(dir.Path(), "Schedule/Sch2612.dat"),
            dir.File("SCHEDULE/SCH2612.DAT"));
  EXPECT_EQ(textfile::FindPathIgnoringCase(dir.Path(), "Schedule/Sch2701.dat"),
            dir.File("SCHEDULE/Sch2701.dat"));
  EXPECT_EQ(textfile::FindPathIgnoringCase(dir.Path(), "Memo/freememo.dat"), dir.File("Memo/freememo.dat"));
  EXPECT_EQ(textfile::FindPathIgnoringCase(dir.Path(), "ToDo.dat"), dir.File("TODO.DAT"));
}
