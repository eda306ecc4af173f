#include "organizer/ScheduleStore.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "platform/Sjis.h"
#include "testsupport/TempDir.h"
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
  ASSERT_EQ(SaveSchedule(d.Path(), 2004, 12, s).result, SaveResult::Saved);
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
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 2, s).result, SaveResult::Saved);
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
  LoadSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(s.DayMark[0], 0);
  EXPECT_EQ(s.DayTime[0], "12:00");
  EXPECT_EQ(s.DayText[0], "ok \xEF\xBF\xBD z");
  EXPECT_EQ(s.DayMark[1], 2);
  EXPECT_EQ(s.DayText[1].size(), big.size());
  EXPECT_EQ(s.DayMark[30], 3);
  EXPECT_EQ(s.DayText[30], "thirty-first");
}

TEST(ScheduleStore, RefusesTextThatWouldShiftTheDaysAndKeepsTheOldFileOnFailure) {
  TempDir d;
  MonthSchedule s;
  s.DayText[4] = "ok\r\n[D@TA]11 pretending";
  SaveOutcome o = SaveSchedule(d.Path(), 2026, 1, s);
  EXPECT_EQ(o.result, SaveResult::MarkerInText);
  EXPECT_EQ(o.day, 5);
  EXPECT_FALSE(d.Exists("Schedule/Sch2601.dat"));
  s.DayText[4] = "ok [D@TA] inside a line";
  ASSERT_EQ(SaveSchedule(d.Path(), 2026, 1, s).result, SaveResult::Saved);
  const std::string saved = d.Read("Schedule/Sch2601.dat");

  s.DayText[6] = "emoji \xF0\x9F\x98\x80";
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).result, SaveResult::Unencodable);
  s.DayText[6] = "fine";
  std::filesystem::remove(d.File("Schedule/Sch2601.dat"));
  std::filesystem::create_directory(d.File("Schedule/Sch2601.dat"));  // something that cannot be replaced
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).result, SaveResult::WriteFailed);
  EXPECT_EQ(s.DayText[6], "fine");  // the caller's month is untouched
  std::filesystem::remove(d.File("Schedule/Sch2601.dat"));
  d.Write("Schedule/Sch2601.dat", saved);
  ::chmod(d.File("Schedule/Sch2601.dat").c_str(), 0444);
  EXPECT_EQ(SaveSchedule(d.Path(), 2026, 1, s).result, SaveResult::WriteFailed);
  EXPECT_EQ(d.Read("Schedule/Sch2601.dat"), saved);
}
