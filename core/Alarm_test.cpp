#include "core/Alarm.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/TempDir.h"

TEST(AlarmFile, NameUsesATwoDigitYear) {
  EXPECT_EQ(alarmclock::ScheduleFileName(2004, 12), "Schedule/Sch0412.dat");
  EXPECT_EQ(alarmclock::ScheduleFileName(1904, 12), "Schedule/Sch0412.dat");
  EXPECT_EQ(alarmclock::ScheduleFileName(2026, 1), "Schedule/Sch2601.dat");
}

TEST(AlarmFile, ReadsTheDaysHeaderLeniently) {
  TempDir d;
  std::filesystem::create_directory(d.File("Schedule"));
  d.Write("Schedule/Sch2612.dat",
          "[D@TA]00\r\n[D@TA]1109:30\r\nmeeting\r\n[D@TA]01\r\n[D@TA]0107:5x\r\n[D@TA]0012:00\r\n[D@TA]x1ab:"
          "cd\r\n");
  const std::string f = d.File("Schedule/Sch2612.dat");
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 1), "");
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 2), "09:30");
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 3), "00:00");  // flag on, no time
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 4), "07:05");
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 5), "");       // flag off
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 6), "00:00");  // letters read as 0
  EXPECT_EQ(alarmclock::ReadAlarmTime(f, 7), "");       // no such day
  EXPECT_EQ(alarmclock::ReadAlarmTime(d.File("Schedule/none.dat"), 1), "");
  EXPECT_EQ(alarmclock::ReadAlarmTime(d.File("nofolder/Sch2612.dat"), 1), "");
  EXPECT_FALSE(d.Exists("nofolder"));  // never created by the alarm
}

TEST(AlarmClock, RingsOnceAtTheMinuteAndRearmsOnANewDay) {
  bool armed = true;
  std::string time;
  int lastDay = 0;
  int loads = 0;
  std::string todays = "09:00";
  auto load = [&] {
    ++loads;
    return todays;
  };
  DateTime t{2026, 12, 7, 8, 59, 55};
  int rings = 0;
  std::vector<std::string> ringAt;
  // Ten-second ticks over the whole day and into the next.
  Clock::SetForTest(t);
  for (int i = 0; i < 8640 + 2000; ++i) {
    DateTime now = Clock::Now();
    if (now.day == 8 && now.hour == 0 && now.minute == 0) todays = "";  // the next day has no alarm
    if (alarmclock::Check(now, armed, time, lastDay, load)) {
      ++rings;
      ringAt.push_back(alarmclock::Message(now));
    }
    Clock::AdvanceForTest(10);
  }
  Clock::SetForTest(std::nullopt);
  EXPECT_EQ(rings, 1);
  ASSERT_EQ(ringAt.size(), 1u);
  EXPECT_EQ(ringAt[0], "9時00分です\r\nスケジュールを確認して下さい");
  EXPECT_EQ(loads, 2);  // first check and the new day
  EXPECT_TRUE(armed);   // re-armed on the new day
  EXPECT_EQ(time, "");

  // A day change brings the new day's alarm.
  armed = false;
  lastDay = 7;
  todays = "23:59";
  EXPECT_FALSE(alarmclock::Check({2026, 12, 8, 0, 0, 5}, armed, time, lastDay, load));
  EXPECT_TRUE(armed);
  EXPECT_TRUE(alarmclock::Check({2026, 12, 8, 23, 59, 1}, armed, time, lastDay, load));
  EXPECT_EQ(alarmclock::Message({2026, 12, 8, 9, 5, 0}), "9時05分です\r\nスケジュールを確認して下さい");
}
