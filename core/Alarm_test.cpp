#include "core/Alarm.h"

#include <map>
#include <vector>

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/TempDir.h"

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

// The alarm clock as the ten-second timer drives it, with a schedule of one alarm time per date.
class AlarmClockTest : public ::testing::Test {
 protected:
  bool armed = true;
  std::string time;
  alarmclock::LastCheck last;
  std::map<int, std::string> alarms;  // yyyymmdd -> "hh:mm"
  std::vector<int> loaded;

  // One check at `now`: the time that went off, or "".
  std::string At(const DateTime& now) {
    auto load = [this](const DateTime& day) {
      const int date = day.year * 10000 + day.month * 100 + day.day;
      loaded.push_back(date);
      auto it = alarms.find(date);
      return it == alarms.end() ? std::string() : it->second;
    };
    return alarmclock::Check(now, armed, time, last, load).value_or("");
  }

  // Ten-second checks from `from` for `seconds`: the messages of the alarms that went off.
  std::vector<std::string> Run(const DateTime& from, int seconds) {
    std::vector<std::string> rang;
    Clock::SetForTest(from);
    for (int s = 0; s < seconds; s += 10) {
      const DateTime now = Clock::Now();
      if (std::string due = At(now); !due.empty()) rang.push_back(alarmclock::Message(now, due));
      Clock::AdvanceForTest(10);
    }
    Clock::SetForTest(std::nullopt);
    return rang;
  }
};

TEST_F(AlarmClockTest, RingsOnceAtTheMinuteAndRearmsOnANewDay) {
  alarms[20261207] = "09:00";
  const auto rang = Run({2026, 12, 7, 8, 59, 55}, (8640 + 2000) * 10);  // the whole day and into the next
  ASSERT_EQ(rang.size(), 1u);
  EXPECT_EQ(rang[0], "9時00分です\r\nスケジュールを確認して下さい");
  EXPECT_EQ(loaded, (std::vector<int>{20261207, 20261208}));  // the first check and the new day
  EXPECT_TRUE(armed);                                         // re-armed on the new day
  EXPECT_EQ(time, "");
}

TEST_F(AlarmClockTest, MidnightBringsTheNewDaysAlarm) {
  alarms[20261208] = "00:00";
  alarms[20261209] = "23:59";
  EXPECT_EQ(At({2026, 12, 7, 23, 59, 55}), "");
  EXPECT_EQ(At({2026, 12, 8, 0, 0, 5}), "00:00");
  EXPECT_EQ(At({2026, 12, 9, 0, 0, 5}), "");
  EXPECT_EQ(At({2026, 12, 9, 23, 59, 1}), "23:59");
  // New Year: the next year's file.
  alarms[20270101] = "00:00";
  EXPECT_EQ(At({2026, 12, 31, 23, 59, 55}), "");
  EXPECT_EQ(At({2027, 1, 1, 0, 0, 3}), "00:00");
}

TEST_F(AlarmClockTest, AMinuteNotSeenRingsLateOnceWithTheTimeItWasDue) {
  alarms[20261209] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 8, 59, 45}), "");
  // Suspended (or the process stopped) over the alarm minute, back 75 s into it and later.
  EXPECT_EQ(At({2026, 12, 9, 9, 20, 12}), "09:00");
  EXPECT_EQ(alarmclock::Message({2026, 12, 9, 9, 20, 12}, "09:00"),
            "9時00分のアラームです\r\nスケジュールを確認して下さい");
  EXPECT_EQ(At({2026, 12, 9, 9, 20, 22}), "");  // once
  EXPECT_EQ(At({2026, 12, 9, 9, 21, 0}), "");
  // A registration re-arms, but a time already passed does not ring again.
  armed = true;
  EXPECT_EQ(At({2026, 12, 9, 9, 21, 10}), "");
  EXPECT_EQ(At({2026, 12, 9, 23, 59, 59}), "");
}

TEST_F(AlarmClockTest, AClockSetForwardPastTheTimeRingsAtOnce) {
  alarms[20261209] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 8, 30, 0}), "");
  EXPECT_EQ(At({2026, 12, 9, 11, 45, 0}), "09:00");
  // Forward over several days: the new day counts from its start, and its own file's alarm rings.
  alarms[20270109] = "09:00";
  EXPECT_EQ(At({2027, 1, 9, 9, 30, 0}), "09:00");
  EXPECT_EQ(loaded.back(), 20270109);
}

TEST_F(AlarmClockTest, AClockSetBackOverTheTimeRingsNothing) {
  alarms[20261209] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 9, 10, 0}), "");  // started after the time: not rung
  EXPECT_EQ(At({2026, 12, 9, 8, 50, 0}), "");  // set back over it
  EXPECT_EQ(At({2026, 12, 9, 8, 59, 50}), "");
  EXPECT_EQ(At({2026, 12, 9, 9, 0, 0}), "09:00");  // and then the clock comes to it
  // Back to an earlier date whose alarm time has passed: not rung either.
  alarms[20261208] = "07:00";
  EXPECT_EQ(At({2026, 12, 8, 10, 0, 0}), "");
  EXPECT_EQ(loaded.back(), 20261208);
}

TEST_F(AlarmClockTest, ATimePassedBeforeStartUpDoesNotRing) {
  alarms[20261209] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 9, 20, 0}), "");
  EXPECT_EQ(At({2026, 12, 9, 12, 0, 0}), "");
  // Started within the alarm minute: on time.
  last = {};
  armed = true;
  EXPECT_EQ(At({2026, 12, 9, 9, 0, 40}), "09:00");
  // Started before it (start-up records its time as a check), the clock set forward before the first
  // timed check: late.
  last = alarmclock::LastCheck::Of({2026, 12, 9, 8, 58, 0});
  time = "09:00";
  armed = true;
  EXPECT_EQ(At({2026, 12, 9, 9, 20, 5}), "09:00");
}

TEST_F(AlarmClockTest, TheSameDayOfAnotherMonthLoadsThatMonthsAlarm) {
  alarms[20261209] = "";
  alarms[20270109] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 8, 58, 0}), "");
  EXPECT_EQ(At({2027, 1, 9, 8, 59, 45}), "");
  EXPECT_EQ(time, "09:00");
  EXPECT_EQ(At({2027, 1, 9, 8, 59, 55}), "");
  EXPECT_EQ(At({2027, 1, 9, 9, 0, 5}), "09:00");
  EXPECT_EQ(loaded, (std::vector<int>{20261209, 20270109}));
}

TEST_F(AlarmClockTest, TwoChecksInTheAlarmMinuteRingOnce) {
  alarms[20261209] = "09:00";
  EXPECT_EQ(At({2026, 12, 9, 8, 59, 55}), "");
  EXPECT_EQ(At({2026, 12, 9, 9, 0, 5}), "09:00");
  EXPECT_EQ(At({2026, 12, 9, 9, 0, 15}), "");
  // A time registered for this very minute after it rang: the design's equality still rings it.
  armed = true;
  EXPECT_EQ(At({2026, 12, 9, 9, 0, 25}), "09:00");
  EXPECT_EQ(alarmclock::Message({2026, 12, 9, 9, 0, 25}, "09:00"),
            "9時00分です\r\nスケジュールを確認して下さい");
  EXPECT_EQ(alarmclock::Message({2026, 12, 8, 9, 5, 0}, "09:05"),
            "9時05分です\r\nスケジュールを確認して下さい");
  EXPECT_FALSE(alarmclock::IsLate({2026, 12, 9, 9, 0, 59}, "09:00"));
  EXPECT_TRUE(alarmclock::IsLate({2026, 12, 9, 9, 1, 0}, "09:00"));
}
