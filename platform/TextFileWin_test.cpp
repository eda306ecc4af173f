// What only Windows has: devices that open as files, the read-only attribute, sharing modes, and
// wide-character folder names.
#include <windows.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

#include "platform/ProgramFolder.h"
#include "platform/TextFile.h"
#include "platform/WinPath.h"
#include "testsupport/TempDir.h"

using textfile::ReadStatus;
using textfile::Step;

TEST(TextFileWin, DevicesAndFoldersAreNeverData) {
  TempDir dir;
  EXPECT_EQ(textfile::ReadAll(dir.File("none.txt")).status, ReadStatus::Missing);
  EXPECT_EQ(textfile::ReadAll(dir.File("no/such/file")).status, ReadStatus::Missing);
  ASSERT_TRUE(textfile::MakeFolder(dir.File("folder")));
  EXPECT_EQ(textfile::ReadAll(dir.File("folder")).status, ReadStatus::Error);
  // NUL and CON name devices in every folder: a phone book called so reads as unreadable, never as
  // empty (which a save would then write back over nothing).
  EXPECT_EQ(textfile::ReadAll(dir.File("NUL")).status, ReadStatus::Error);
  EXPECT_EQ(textfile::ReadAll("NUL").status, ReadStatus::Error);
  EXPECT_FALSE(textfile::IsRegularFile(dir.File("NUL")));
  EXPECT_FALSE(textfile::IsRegularFile(dir.File("folder")));
  EXPECT_EQ(textfile::WriteAtomic(dir.File("NUL"), "x").step, Step::Create);
  dir.Write("f.txt", "1\r\n2");
  EXPECT_TRUE(textfile::IsRegularFile(dir.File("f.txt")));
  EXPECT_EQ(textfile::ReadLines(dir.File("f.txt")).lines, (std::vector<std::string>{"1", "2"}));
}

TEST(TextFileWin, TheReadOnlyAttributeRefusesTheRewriteAndKeepsTheFile) {
  TempDir dir;
  dir.Write("ToDo.dat", "old");
  const std::wstring path = winpath::Wide(dir.File("ToDo.dat"));
  ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
  const textfile::WriteResult r = textfile::WriteAtomic(dir.File("ToDo.dat"), "new");
  EXPECT_EQ(r.step, Step::Create);
  EXPECT_EQ(r.error, EACCES);
  EXPECT_EQ(textfile::ReasonText(r.error), "アクセスが拒否されました");
  EXPECT_EQ(dir.Read("ToDo.dat"), "old");
  // Not in place either (the settings file's fallback).
  EXPECT_FALSE(textfile::WriteAtomic(dir.File("ToDo.dat"), "new", textfile::InPlace::Allowed));
  SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_TRUE(textfile::WriteAtomic(dir.File("ToDo.dat"), "new"));
  EXPECT_EQ(dir.Read("ToDo.dat"), "new");
}

TEST(TextFileWin, AFileAnotherProgramHoldsIsReportedBusyAndKept) {
  TempDir dir;
  dir.Write("Teldat1.tel", "old");
  // Another program holding the file open without sharing it (an editor, a virus scanner mid-scan).
  HANDLE held = CreateFileW(winpath::Wide(dir.File("Teldat1.tel")).c_str(), GENERIC_READ, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const textfile::WriteResult r = textfile::WriteAtomic(dir.File("Teldat1.tel"), "new");
  EXPECT_FALSE(r);
  EXPECT_EQ(r.step, Step::Rename);
  EXPECT_TRUE(r.error == EBUSY || r.error == EACCES) << r.error;
  EXPECT_FALSE(textfile::ReasonText(r.error).empty());
  EXPECT_EQ(textfile::ReadAll(dir.File("Teldat1.tel")).status, ReadStatus::Error);  // unshared: unreadable
  CloseHandle(held);
  EXPECT_EQ(dir.Read("Teldat1.tel"), "old");
  // No temporary file left behind.
  std::vector<std::string> files;
  for (const auto& e : std::filesystem::directory_iterator(dir.Path()))
    files.push_back(e.path().filename().string());
  EXPECT_EQ(files, std::vector<std::string>{"Teldat1.tel"});
  EXPECT_TRUE(textfile::WriteAtomic(dir.File("Teldat1.tel"), "new"));
  EXPECT_EQ(dir.Read("Teldat1.tel"), "new");
}

TEST(TextFileWin, AFolderWithKanjiInItsNameWorks) {
  TempDir dir;
  const std::string folder = dir.File("田中の予定") + "/";
  ASSERT_TRUE(textfile::MakeFolder(folder));
  ASSERT_TRUE(textfile::WriteAtomic(folder + "ToDo.dat", "0 26/12/09 \x8E\x9A\r\n"));
  const textfile::Bytes b = textfile::ReadAll(folder + "ToDo.dat");
  EXPECT_EQ(b.status, ReadStatus::Ok);
  EXPECT_EQ(b.data, "0 26/12/09 \x8E\x9A\r\n");
  EXPECT_TRUE(textfile::IsRegularFile(folder + "ToDo.dat"));
  EXPECT_TRUE(programfolder::Writable(folder));
  // The name as Windows keeps it, in UTF-16.
  EXPECT_NE(
      GetFileAttributesW((winpath::Wide(dir.Path()) + L"\x7530\x4E2D\x306E\x4E88\x5B9A\\ToDo.dat").c_str()),
      INVALID_FILE_ATTRIBUTES);
  // Other letter case finds the same file, spelled as it is on disk (and so written back).
  EXPECT_EQ(textfile::FindNameIgnoringCase(folder, "TODO.DAT"), "ToDo.dat");
  EXPECT_EQ(textfile::FindNameIgnoringCase(folder, "todo.dat.x"), "");
}

TEST(TextFileWin, LeftoversAreRemovedButNotOneBeingWritten) {
  TempDir d;
  for (const char* name : {"ToDo.dat.a1B2c3", "ToDo.dat.held00", "other.txt.a1B2c3", "ToDo.dat"})
    d.Write(name, "x");
  HANDLE held = CreateFileW(winpath::Wide(d.File("ToDo.dat.held00")).c_str(), GENERIC_WRITE, 0, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  auto ours = [](std::string_view base) { return base == "ToDo.dat"; };
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 3600), 0u);  // too young
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 0), 1u);
  EXPECT_FALSE(d.Exists("ToDo.dat.a1B2c3"));
  EXPECT_TRUE(d.Exists("ToDo.dat.held00"));
  EXPECT_TRUE(d.Exists("other.txt.a1B2c3"));
  CloseHandle(held);
  EXPECT_EQ(textfile::RemoveLeftovers(d.Path(), ours, 0), 1u);
  EXPECT_EQ(d.Read("ToDo.dat"), "x");
}

TEST(TextFileWin, WindowsErrorsAreTheCausesTheUserReads) {
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_DISK_FULL)), "ディスクの空き容量が足りません");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_HANDLE_DISK_FULL)), "ディスクの空き容量が足りません");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_ACCESS_DENIED)), "アクセスが拒否されました");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_SHARING_VIOLATION)),
            "ほかのプログラムがファイルを使用しています");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_WRITE_PROTECT)),
            "読み取り専用のファイルシステムです");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_PATH_NOT_FOUND)),
            "ファイルまたはフォルダーが見つかりません");
  EXPECT_EQ(textfile::ReasonText(winpath::ErrnoOf(ERROR_CRC)), "入出力エラーが発生しました");
}
