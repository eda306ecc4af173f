#include "organizer/ScheduleStore.h"
#include "testsupport/FailingWrites.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TestText.h"

using namespace schedule;

namespace {
std::string Headers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]00\r\n";
  return s;
}
}  // namespace

TEST(ScheduleStore, WritesTheExactFormat) {
  TempDir d;
  MonthSchedule s;
  s.DayMark[1] = 1;
  s.DayAlarm[1] = 1;
  s.DayTime[1] = "09:30";
  s.DayText[1] = "会議\r\n資料を持参";
  s.DayTime[2] = "";
  s.DayMark[30] = 7;
  s.DayText[30] = "大晦日";
  ASSERT_EQ(SaveSchedule(d.Path(), 2004, 12, s).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("Schedule/Sch0412.dat"), "[D@TA]00\r\n" + Sj("[D@TA]1109:30\r\n会議\r\n資料を持参\r\n") +
                                                Headers(28) + Sj("[D@TA]70\r\n大晦日\r\n"));
  MonthSchedule back;
  LoadSchedule(d.Path(), 2004, 12, back);
  EXPECT_EQ(back.DayText[1], "会議\r\n資料を持参");
  EXPECT_EQ(back.DayTime[1], "09:30");
  EXPECT_EQ(back.DayTime[0], "00:00");  // a header without a time
  EXPECT_EQ(back.DayMark[30], 7);
  EXPECT_EQ(back.DayText[30], "大晦日");
}

TEST(ScheduleStore, FebruaryStillWritesThirtyOneSlotsAndReloadsTheSame) {
  TempDir d;
  MonthSchedule s;
  for (int i = 0; i < 31; ++i) s.DayTime[static_cast<std::size_t>(i)] = "00:00";
  s.DayText[27] = "end of month";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 2, s).kind, SaveResult::Saved);
  MonthSchedule back;
  LoadSchedule(d.Path(), 2026, 2, back);
  EXPECT_EQ(back.DayText, s.DayText);
  EXPECT_EQ(back.DayTime, s.DayTime);
  EXPECT_EQ(back.DayMark, s.DayMark);
}

TEST(ScheduleStore, MissingAndEmptyFilesAreEmptyMonthsAndTheFolderIsCreated) {
  TempDir d;
  MonthSchedule s;
  s.DayText[0] = "stale";
  LoadSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(s.DayText[0], "");
  EXPECT_TRUE(std::filesystem::is_directory(d.File("Schedule")));
  d.Write("Schedule/Sch2601.dat", "");
  LoadSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(s.DayTime[0], "");
  EXPECT_EQ(s.DayMark[0], 0);
}

TEST(ScheduleStore, ReaderTrimsTheLastLineEndAndTrailingBlanks) {
  TempDir d;
  d.Write("Schedule/Sch2601.dat", "");
  std::filesystem::create_directories(d.File("Schedule"));
  d.Write("Schedule/Sch2601.dat", "[D@TA]1\r\nA\r\nB   \r\n[D@TA]00\r\n\r\n\r\n");
  MonthSchedule s;
  LoadSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(s.DayText[0], "A\r\nB");
  EXPECT_EQ(s.DayMark[0], 1);
  EXPECT_EQ(s.DayAlarm[0], 0);
  EXPECT_EQ(s.DayText[1], "\r\n");  // only the final line end goes
  EXPECT_EQ(s.DayText[2], "");      // fewer than 31 headers
}

TEST(ScheduleStore, DamagedFilesLoadWhatIsValid) {
  TempDir d;
  std::filesystem::create_directories(d.File("Schedule"));
  std::string big(1 << 20, 'x');
  d.Write("Schedule/Sch2601.dat", "before any header\r\n[D@TA]ab12:xx\r\nok \x82\x20z\r\n[D@TA]21\r\n" + big +
                                      "\r\n" + Headers(28) +
                                      "[D@TA]31\r\nthirty-first\r\n[D@TA]99\r\nbeyond\r\n");
  MonthSchedule s;
  EXPECT_TRUE(LoadSchedule(d.Path(), 2026, 1, s));
  EXPECT_EQ(s.DayMark[0], 0);
  EXPECT_EQ(s.DayTime[0], "12:00");
  EXPECT_EQ(s.DayText[0], "ok \xEF\xBF\xBD z");
  EXPECT_EQ(s.DayMark[1], 2);
  EXPECT_EQ(s.DayText[1].size(), big.size());
  EXPECT_EQ(s.DayMark[30], 3);
  EXPECT_EQ(s.DayText[30], "thirty-first");

  // A save after editing one day keeps what the reader set aside: the lines before the first header,
  // the undecodable bytes of day 1, and everything from the 32nd header on.
  s.DayText[2] = "new";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  EXPECT_EQ(
      d.Read("Schedule/Sch2601.dat"),
      "before any header\r\n[D@TA]0012:00\r\nok \x82\x20z\r\n[D@TA]2100:00\r\n" + big +
          "\r\n[D@TA]0000:00\r\nnew\r\n" +
          [] {
            std::string h;
            for (int i = 0; i < 27; ++i) h += "[D@TA]0000:00\r\n";
            return h;
          }() +
          "[D@TA]3100:00\r\nthirty-first\r\n[D@TA]99\r\nbeyond\r\n");
}

TEST(ScheduleStore, UndecodableBytesOfAnUntouchedDayStayExactAndTheMonthStaysSavable) {
  TempDir d;
  std::filesystem::create_directories(d.File("Schedule"));
  const std::string day1 =
      "[D@TA]1109:30\r\n\x82\x20"
      "damaged \xFD  \r\nsecond  \r\n";
  d.Write("Schedule/Sch2601.dat", day1 + Headers(30));
  MonthSchedule s;
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 1, s));
  EXPECT_EQ(s.DayText[0], "\xEF\xBF\xBD damaged \xEF\xBF\xBD  \r\nsecond");
  s.DayText[9] = "打ち合わせ";
  s.DayMark[9] = 3;
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  std::string expected = day1;
  for (int i = 1; i < 31; ++i)
    expected += i == 9 ? "[D@TA]3000:00\r\n" + Sj("打ち合わせ") + "\r\n" : "[D@TA]0000:00\r\n";
  EXPECT_EQ(d.Read("Schedule/Sch2601.dat"), expected);
  // Editing the damaged day itself is refused (the replacement character has no bytes), nothing written.
  s.DayText[0] += "!";
  SaveOutcome o = SaveSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(o.kind, SaveResult::Unencodable);
  EXPECT_EQ(o.item, 1);
  EXPECT_EQ(d.Read("Schedule/Sch2601.dat"), expected);
}

TEST(ScheduleStore, AMonthThatCouldNotBeReadIsNeverWrittenBack) {
  TempDir d;
  std::filesystem::create_directories(d.File("Schedule/Sch2601.dat"));    // a folder where the file belongs
  const testfiles::UnreadableEntry pipe(d.File("Schedule/Sch2602.dat"));  // a pipe: must not block
  ASSERT_TRUE(pipe.Made());
  for (int month : {1, 2}) {
    MonthSchedule s;
    EXPECT_FALSE(LoadSchedule(d.Path(), 2026, month, s));
    EXPECT_FALSE(s.readCompletely);
    s.DayText[0] = "would replace the file";
    EXPECT_EQ(SaveSchedule(d.Path(), 2026, month, s).kind, SaveResult::NotReadCompletely);
  }
  EXPECT_TRUE(std::filesystem::is_directory(d.File("Schedule/Sch2601.dat")));
  EXPECT_TRUE(std::filesystem::exists(d.File("Schedule/Sch2602.dat")));
  // A schedule folder that is a file: the month is empty and a save says it failed.
  TempDir e;
  e.Write("Schedule", "not a folder");
  MonthSchedule s;
  EXPECT_TRUE(LoadSchedule(e.Path(), 2026, 1, s));
  s.DayText[0] = "x";
  EXPECT_EQ(SaveSchedule(e.Path(), 2026, 1, s).kind, SaveResult::WriteFailed);
  EXPECT_EQ(e.Read("Schedule"), "not a folder");
}

TEST(ScheduleStore, FileNamesComeFromTheFirstOfTheMonth) {
  EXPECT_EQ(FilePath("/p/", 2004, 13), "/p/Schedule/Sch0501.dat");
  EXPECT_EQ(FilePath("/p/", 2000, 0), "/p/Schedule/Sch9912.dat");
  EXPECT_EQ(FilePath("/p/", 2004, 12), "/p/Schedule/Sch0412.dat");
  EXPECT_EQ(FilePath("/p/", 2005, -11), "/p/Schedule/Sch0401.dat");
  EXPECT_EQ(FilePath("/p/", 2099, 25), "/p/Schedule/Sch0101.dat");
}

TEST(ScheduleStore, LoneLineBreaksAreStoredAsCrLf) {
  TempDir d;
  MonthSchedule s;
  s.DayText[0] = "a\nb\rc";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  EXPECT_EQ(d.Read("Schedule/Sch2601.dat").substr(0, 19), "[D@TA]00\r\na\r\nb\r\nc\r\n");
  MonthSchedule back;
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 1, back));
  EXPECT_EQ(back.DayText[0], "a\r\nb\r\nc");
}

TEST(ScheduleStore, EveryFailedStepOfASaveKeepsTheOldMonth) {
  namespace fault = textfile::fault;
  TempDir d;
  MonthSchedule s;
  s.DayText[0] = "old";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  const std::string old = d.Read("Schedule/Sch2601.dat");
  s.DayText[0] = "new";
  for (auto step : {fault::Step::Create, fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
    fault::Inject(step);
    EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::WriteFailed);
    fault::Clear();
    EXPECT_EQ(d.Read("Schedule/Sch2601.dat"), old);
  }
}

TEST(ScheduleStore, ALinkedMonthFileIsWrittenThroughTheLink) {
  TempDir d;
  std::filesystem::create_directories(d.File("Schedule"));
  d.Write("elsewhere.dat", Headers(31));
  if (!testfiles::SymbolicLink(d.File("elsewhere.dat"), d.File("Schedule/Sch2601.dat")))
    GTEST_SKIP() << testfiles::kNoLinks;
  MonthSchedule s;
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 1, s));
  s.DayText[0] = "x";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  EXPECT_TRUE(std::filesystem::is_symlink(d.File("Schedule/Sch2601.dat")));
  EXPECT_EQ(d.Read("elsewhere.dat").substr(0, 24), "[D@TA]0000:00\r\nx\r\n[D@TA]");
}

TEST(ScheduleStore, RefusesTextThatWouldShiftTheDaysAndKeepsTheOldFileOnFailure) {
  TempDir d;
  MonthSchedule s;
  s.DayText[4] = "ok\r\n[D@TA]11 pretending";
  SaveOutcome o = SaveSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(o.kind, SaveResult::Refused);
  EXPECT_EQ(o.item, 5);
  EXPECT_FALSE(d.Exists("Schedule/Sch2601.dat"));
  s.DayText[4] = "ok [D@TA] inside a line";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Saved);
  const std::string saved = d.Read("Schedule/Sch2601.dat");

  s.DayText[6] = "emoji \xF0\x9F\x98\x80";
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::Unencodable);
  s.DayText[6] = "fine";
  std::filesystem::remove(d.File("Schedule/Sch2601.dat"));
  std::filesystem::create_directory(d.File("Schedule/Sch2601.dat"));  // something that cannot be replaced
  // Changed behind the month's back: refused as such, and as a failed write when overwriting.
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).kind, SaveResult::ChangedOnDisk);
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s, true).kind, SaveResult::WriteFailed);
  EXPECT_EQ(s.DayText[6], "fine");  // the caller's month is untouched
  std::filesystem::remove(d.File("Schedule/Sch2601.dat"));
  d.Write("Schedule/Sch2601.dat", saved);
  ::chmod(d.File("Schedule/Sch2601.dat").c_str(), 0444);
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s, true).kind, SaveResult::WriteFailed);
  EXPECT_EQ(d.Read("Schedule/Sch2601.dat"), saved);
}

TEST(ScheduleStore, AMonthAnotherProgramChangedIsNotOverwrittenUntilTheUserSaysSo) {
  TempDir d;
  MonthSchedule s;
  s.DayText[0] = "mine";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 12, s).kind, SaveResult::Saved);
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 12, s));
  MonthSchedule other;
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 12, other));
  other.DayText[9] = "theirs";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 12, other).kind, SaveResult::Saved);
  const std::string theirs = d.Read("Schedule/Sch2612.dat");
  s.DayText[1] = "more of mine";
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 12, s).kind, SaveResult::ChangedOnDisk);
  EXPECT_EQ(d.Read("Schedule/Sch2612.dat"), theirs);
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 12, s, true).kind, SaveResult::Saved);
  ASSERT_TRUE(LoadSchedule(d.Path(), 2026, 12, other));
  EXPECT_EQ(other.DayText[1], "more of mine");
  EXPECT_EQ(other.DayText[9], "");
  // Its own write is no conflict for the next save.
  s.DayText[2] = "again";
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 12, s).kind, SaveResult::Saved);
}
