#include "organizer/MemoBook.h"
#include "platform/Sjis.h"
#include "testsupport/FailingWrites.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "platform/TextFile.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"

using namespace memo;

namespace {
std::string Blanks(std::size_t n) {
  return std::string(n, ' ');
}
std::string Page(const std::string& bytes) {
  return bytes + Blanks(kRecord - bytes.size());
}
}  // namespace

TEST(MemoRecord, TextIsCutAtAThousandCharactersThenAThousandBytes) {
  EXPECT_EQ(*MakeRecord("abc"), "abc" + Blanks(997));
  EXPECT_EQ(*MakeRecord(""), Blanks(1000));
  EXPECT_EQ(*MakeRecord(std::string(1200, 'x')), std::string(1000, 'x'));
  // Double-byte text: 600 kanji are 1200 bytes; 500 stay and no padding is left.
  std::string kanji;
  for (int i = 0; i < 600; ++i) kanji += "漢";
  EXPECT_EQ(*MakeRecord(kanji), Sj(kanji.substr(0, 500 * 3)));
  // One that would straddle byte 1000 is dropped whole and a blank takes its byte.
  std::string odd = "a";
  for (int i = 0; i < 600; ++i) odd += "字";
  const std::string r = *MakeRecord(odd);
  EXPECT_EQ(r.size(), 1000u);
  EXPECT_EQ(r, "a" + Sj(odd.substr(1, 499 * 3)) + " ");
  EXPECT_TRUE(sjis::IsWellFormed(r));
  // Blanks of the padding shrink as double-byte characters take two bytes.
  EXPECT_EQ(*MakeRecord("漢字"), Sj("漢字") + Blanks(996));
  EXPECT_EQ(MakeRecord("顔😀"), std::nullopt);
  EXPECT_TRUE(TooLong(kanji));
  EXPECT_FALSE(TooLong(std::string(1000, 'x')));
  EXPECT_EQ(PageBuffer("ab").size(), 1000u);
}

TEST(MemoBook, CountFromLengthAndAPartialTailIsDroppedAtTheNextRewrite) {
  TempDir d;
  MemoBook b;
  EXPECT_TRUE(b.Open(d.File("freememo.dat")));
  EXPECT_EQ(b.Count(), 0);
  d.Write("freememo.dat", Page("one") + Page("two") + "partial");
  ASSERT_TRUE(b.Open(d.File("freememo.dat")));
  EXPECT_EQ(b.Count(), 2);
  EXPECT_EQ(b.Record(2), Page("two"));
  EXPECT_EQ(b.Record(3), "");
  EXPECT_EQ(b.PageText(1), Page("one"));
  ASSERT_TRUE(b.Compact());
  EXPECT_EQ(d.Read("freememo.dat"), Page("one") + Page("two"));
  ASSERT_TRUE(b.Compact());  // nothing to do
}

TEST(MemoBook, WritesAppendsAndDeletesShiftTheRecords) {
  TempDir d;
  MemoBook b;
  ASSERT_TRUE(b.Open(d.File("freememo.dat")));
  for (const char* t : {"1", "2", "3"}) ASSERT_TRUE(b.WriteRecord(b.Count() + 1, *MakeRecord(t)));
  EXPECT_EQ(d.Read("freememo.dat"), Page("1") + Page("2") + Page("3"));
  ASSERT_TRUE(b.WriteRecord(2, *MakeRecord("two")));
  ASSERT_TRUE(b.DeleteRecord(1));
  EXPECT_EQ(d.Read("freememo.dat"), Page("two") + Page("3"));
  EXPECT_EQ(b.Count(), 2);
  EXPECT_FALSE(b.WriteRecord(4, *MakeRecord("gap")));  // only the next page can be appended
  EXPECT_FALSE(b.WriteRecord(1, "short"));
  EXPECT_FALSE(b.DeleteRecord(3));
}

TEST(MemoBook, AFailedWriteKeepsFileAndBookAndAnUnreadableFileIsNeverWritten) {
  TempDir d;
  d.Write("freememo.dat", Page("keep"));
  MemoBook b;
  ASSERT_TRUE(b.Open(d.File("freememo.dat")));
  namespace fault = textfile::fault;
  for (auto step : {fault::Step::Create, fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
    fault::Inject(step);
    EXPECT_FALSE(b.WriteRecord(1, *MakeRecord("new")));
    fault::Clear();
    EXPECT_EQ(d.Read("freememo.dat"), Page("keep"));
    EXPECT_EQ(b.Record(1), Page("keep"));
  }
  fault::Inject(fault::Step::Rename);
  EXPECT_FALSE(b.WriteRecord(2, *MakeRecord("added")));
  EXPECT_EQ(b.Count(), 1);
  fault::Inject(fault::Step::Sync);
  EXPECT_FALSE(b.DeleteRecord(1));
  fault::Clear();
  EXPECT_EQ(b.Count(), 1);

  TempDir e;
  std::filesystem::create_directory(e.File("freememo.dat"));
  MemoBook u;
  EXPECT_FALSE(u.Open(e.File("freememo.dat")));
  EXPECT_FALSE(u.ReadCompletely());
  EXPECT_FALSE(u.WriteRecord(1, *MakeRecord("x")));
  EXPECT_TRUE(std::filesystem::is_directory(e.File("freememo.dat")));
}

TEST(MemoBook, SearchFindsWholeCharactersInsideOneRecordFromAPage) {
  TempDir d;
  // ア is 83 41: its second byte is no "A". A text across two records is not found.
  d.Write("freememo.dat",
          Page(Sj("アイウ")) + Page("xxA") + Page(std::string(998, '.') + "AB") + Page("Bend"));
  MemoBook b;
  ASSERT_TRUE(b.Open(d.File("freememo.dat")));
  EXPECT_EQ(b.Find("A", 1), 2);
  EXPECT_EQ(b.Find("A", 3), 3);
  EXPECT_EQ(b.Find("AB", 1), 3);
  EXPECT_EQ(b.Find("ABB", 1), 0);  // would cross into page 4
  EXPECT_EQ(b.Find("ア", 1), 1);
  EXPECT_EQ(b.Find("ア", 2), 0);
  EXPECT_EQ(b.Find("a", 1), 0);  // case-sensitive
  EXPECT_EQ(b.Find("", 1), 0);
  EXPECT_EQ(b.Find("😀", 1), 0);
  EXPECT_EQ(b.Find("  ", 1), 1);  // the padding is searched as stored
}

TEST(MemoBook, TheSearchComparesCharactersWhateverCodeSpellsThem) {
  TempDir d;
  // ≒ as NEC's 87 90 on page 2, as 81 E0 on page 3; ∵ as IBM's FA 5B on page 4.
  auto page = [](const std::string& bytes) { return bytes + std::string(1000 - bytes.size(), ' '); };
  d.Write("freememo.dat", page("x") +
                              page("a\x87\x90"
                                   "b") +
                              page("c\x81\xE0") + page("\xFA\x5B"));
  memo::MemoBook b;
  ASSERT_TRUE(b.Open(d.File("freememo.dat")));
  EXPECT_EQ(b.Find("≒", 1), 2);
  EXPECT_EQ(b.Find("a≒b", 1), 2);
  EXPECT_EQ(b.Find("≒", 3), 3);
  EXPECT_EQ(b.Find("∵", 1), 4);
  EXPECT_EQ(b.Find("≒b", 3), 0);
  // Every spelling of ≒ and of ∵, and nothing else.
  const auto spellings = sjis::Spellings("\x81\xE0\x81\xE6");
  EXPECT_EQ(spellings.front(), "\x81\xE0\x81\xE6");
  EXPECT_EQ(spellings.size(), 6u);  // ≒ two ways, ∵ three ways
}

TEST(MemoBook, AnotherProgramsPagesAreKeptAndItsVersionOfThisPageIsNeverOverwritten) {
  TempDir d;
  const std::string a(1000, 'a'), b(1000, 'b'), c(1000, 'c'), x(1000, 'x'), y(1000, 'y');
  d.Write("freememo.dat", a + b);
  memo::MemoBook book;
  ASSERT_TRUE(book.Open(d.File("freememo.dat")));
  // Another program changes page 2: this book's page 1 goes into its version.
  d.Write("freememo.dat", a + c);
  ASSERT_TRUE(book.WriteRecord(1, x));
  EXPECT_EQ(d.Read("freememo.dat"), x + c);
  EXPECT_EQ(book.Record(2), c);
  // It changes page 1 too: this book's page 1 is refused and the file stays as that program left it.
  d.Write("freememo.dat", y + c);
  EXPECT_EQ(book.WriteRecord(1, a).kind, StoreOutcome::Kind::ChangedOnDisk);
  EXPECT_EQ(d.Read("freememo.dat"), y + c);
  // A delete is refused as well: it would drop that program's page.
  EXPECT_FALSE(book.DeleteRecord(2));
  EXPECT_EQ(d.Read("freememo.dat"), y + c);
}
