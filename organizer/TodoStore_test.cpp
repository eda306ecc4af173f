#include "organizer/TodoStore.h"
#include "testsupport/FailingWrites.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/TextFile.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"

using namespace todo;

TEST(TodoStore, ReadsLinesWholeAndWritesThemBackWithCrLf) {
  TempDir d;
  d.Write("ToDo.dat", Sj("104/12/05 資料を送る  \r\n026/01/02 電話\n0xx\r"));
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines, (std::vector<std::string>{"104/12/05 資料を送る  ", "026/01/02 電話", "0xx"}));
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), Sj("104/12/05 資料を送る  \r\n026/01/02 電話\r\n0xx\r\n"));
}

TEST(TodoStore, MissingOrEmptyFileIsOneEmptyLineAndAnEmptiedListWritesOneEmptyLine) {
  TempDir d;
  TodoBook b;
  b.lines = {"stale"};
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines, std::vector<std::string>{""});
  EXPECT_TRUE(IsEmpty(b.lines));
  // An empty list where there is no file: nothing to store, no file made.
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_FALSE(d.Exists("ToDo.dat"));
  b.lines = {"026/12/01 a"};
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  b.lines = {""};  // every item deleted again
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), "\r\n");
  d.Write("ToDo.dat", "");
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines, std::vector<std::string>{""});
}

TEST(TodoStore, AnEmptyFirstLineHidesTheRestWhichIsWrittenBackUnchanged) {
  TempDir d;
  const std::string file = "\r\n" + Sj("004/12/05 残り\r\n") + "1\x82\x20x\r\n";
  d.Write("ToDo.dat", file);
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_TRUE(IsEmpty(b.lines));
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), file);
}

TEST(TodoStore, UndecodableLinesSurviveByteForByteEvenWhenTicked) {
  TempDir d;
  const std::string bad =
      "004/12/05 \x82\x20"
      "damaged";
  d.Write("ToDo.dat", bad + "\r\n" + Sj("004/12/06 ok") + "\r\n");
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  ASSERT_EQ(b.lines.size(), 2u);
  // The list reorders and ticks the damaged item; its bytes stay, only the flag byte changes.
  std::swap(b.lines[0], b.lines[1]);
  b.lines[1][0] = '1';
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), Sj("004/12/06 ok") + "\r\n1" + bad.substr(1) + "\r\n");
  // Editing the damaged text itself cannot be stored: refused, the file kept.
  const std::string before = d.Read("ToDo.dat");
  b.lines[1] += "!";
  SaveOutcome o = SaveToDo(d.File("ToDo.dat"), b);
  EXPECT_EQ(o.kind, SaveResult::Unencodable);
  EXPECT_EQ(o.item, 2);
  EXPECT_EQ(d.Read("ToDo.dat"), before);
}

TEST(TodoStore, LinesPastTheIndexLimitAreKept) {
  TempDir d;
  std::string file;
  for (std::size_t i = 0; i < kMaxLines + 5; ++i) file += "0" + std::to_string(i) + "\r\n";
  d.Write("ToDo.dat", file);
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines.size(), kMaxLines);
  b.lines[0] = "1changed";
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), "1changed\r\n" + file.substr(file.find("\r\n") + 2));
}

TEST(TodoStore, AFileThatCouldNotBeReadIsNeverOverwrittenAndFailedWritesKeepTheOldFile) {
  TempDir d;
  std::filesystem::create_directory(d.File("ToDo.dat"));
  TodoBook b;
  EXPECT_FALSE(LoadToDo(d.File("ToDo.dat"), b));
  b.lines = {"0new"};
  EXPECT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::NotReadCompletely);
  EXPECT_TRUE(std::filesystem::is_directory(d.File("ToDo.dat")));

  TempDir e;
  e.Write("ToDo.dat", "0old\r\n");
  ASSERT_TRUE(LoadToDo(e.File("ToDo.dat"), b));
  b.lines = {"0new"};
  namespace fault = textfile::fault;
  for (auto step : {fault::Step::Create, fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
    fault::Inject(step);
    EXPECT_EQ(SaveToDo(e.File("ToDo.dat"), b).kind, SaveResult::WriteFailed);
    fault::Clear();
    EXPECT_EQ(e.Read("ToDo.dat"), "0old\r\n");
  }
  ::chmod(e.File("ToDo.dat").c_str(), 0444);
  EXPECT_EQ(SaveToDo(e.File("ToDo.dat"), b).kind, SaveResult::WriteFailed);
}

TEST(TodoStore, PrefixAndDates) {
  EXPECT_EQ(Prefix(2004, 12, 5), "04/12/05 ");
  EXPECT_EQ(Prefix(2026, 1, 31), "26/01/31 ");
  EXPECT_EQ(Prefix(7, 1, 1), "7/01/01 ");
  const ItemDate a = DateOf("104/12/05 text");
  EXPECT_EQ(a.year, 2004);
  EXPECT_EQ(a.month, 12);
  EXPECT_EQ(a.day, 5);
  const ItemDate g = DateOf("0ab/00/99 garbage");  // year 2000, month 0, day 99
  EXPECT_EQ(g.year, 2000);
  EXPECT_EQ(g.month, 0);
  EXPECT_EQ(g.day, 99);
  EXPECT_EQ(DateOf("099/01/01 x").year, 2099);
}

TEST(TodoStore, LinesThatDecodeAlikeKeepTheirOwnBytes) {
  TempDir d;
  const std::string file = "0\xFA x\r\n0\xFF x\r\n";  // both read as "0\uFFFD x"
  d.Write("ToDo.dat", file);
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines[0], b.lines[1]);
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), file);
}

TEST(TodoStore, ALineWithTheUsualSpellingKeepsItBesideOneWithTheOther) {
  TempDir d;
  // The same kanji twice: NEC-selected (EE EF) and IBM (FA 40) spellings; the codec writes only one.
  const std::string file = "0\xEE\xEF\r\n0\xFA\x40\r\n0\xEE\xEF\r\n";
  d.Write("ToDo.dat", file);
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  EXPECT_EQ(b.lines[0], b.lines[1]);
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), file);
}

TEST(TodoStore, LinesAndListItemsTurnIntoEachOther) {
  EXPECT_TRUE(todo::IsDone("104/12/05 a"));
  EXPECT_FALSE(todo::IsDone("004/12/05 a"));
  EXPECT_FALSE(todo::IsDone("x04/12/05 a"));  // no flag: open
  EXPECT_FALSE(todo::IsDone(""));
  EXPECT_EQ(todo::ListText("104/12/05 資料"), "04/12/05 資料");
  EXPECT_EQ(todo::ListText("あ04/12/05 x"), "04/12/05 x");  // the first character, not byte, goes
  EXPECT_EQ(todo::LineOf(true, "04/12/05 資料"), "104/12/05 資料");
  EXPECT_EQ(todo::LineOf(false, "04/12/05 資料"), "004/12/05 資料");
  EXPECT_EQ(todo::TextOf("04/12/05 資料を送る"), "資料を送る");
  EXPECT_EQ(todo::TextOf("04/12/05"), "");
  const todo::ItemDate d = todo::DateOfItem("04/12/05 x");
  EXPECT_EQ(d.year, 2004);
  EXPECT_EQ(d.month, 12);
  EXPECT_EQ(d.day, 5);
}

TEST(TodoStore, AListTheFileHoldsIsNotWrittenAndAChangedFileIsNotOverwritten) {
  TempDir d;
  d.Write("ToDo.dat", "026/12/01 a\r\n");
  TodoBook b;
  ASSERT_TRUE(LoadToDo(d.File("ToDo.dat"), b));
  // Another program adds an item; this list, unchanged, writes nothing and takes nothing away.
  d.Write("ToDo.dat", "026/12/01 a\r\n026/12/02 b\r\n");
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), "026/12/01 a\r\n026/12/02 b\r\n");
  // Changed here too: refused until the user says to overwrite.
  b.lines = {"126/12/01 a"};
  EXPECT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::ChangedOnDisk);
  EXPECT_EQ(d.Read("ToDo.dat"), "026/12/01 a\r\n026/12/02 b\r\n");
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b, true).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), "126/12/01 a\r\n");
  // What it wrote is what it holds now: a later save is no conflict.
  b.lines = {"026/12/01 a"};
  ASSERT_EQ(SaveToDo(d.File("ToDo.dat"), b).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("ToDo.dat"), "026/12/01 a\r\n");
}
