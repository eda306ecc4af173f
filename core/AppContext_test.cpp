#include "core/AppContext.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "testsupport/TempDir.h"

namespace {
DateTime At(int y, int mo, int d, int h, int mi) {
  return DateTime{y, mo, d, h, mi, 0};
}
}  // namespace

TEST(AppContext, TwoContextsShareNothing) {
  TempDir a, b;
  AppContext one(a.Path()), two(b.Path());
  one.session.CurGroup = 3;
  one.session.SetGroupName(2, "家族");
  one.session.SetGroupName(0, "none");  // outside 1..5: ignored
  one.session.SetGroupName(6, "none");
  EXPECT_EQ(two.session.CurGroup, 1);
  EXPECT_EQ(two.session.GroupName(2), "");
  EXPECT_EQ(one.session.GroupName(2), "家族");
  EXPECT_EQ(one.session.GroupName(0), "");
  EXPECT_EQ(one.session.GroupName(6), "");
  EXPECT_EQ(one.AppDir().back(), '/');
  EXPECT_NE(one.AppDir(), two.AppDir());
  one.session.CaptionHeight = 26;
  EXPECT_EQ(one.session.CaptionCorrection(), 105);
  EXPECT_EQ(two.session.CaptionCorrection(), 0);
}

// The settings file is the one the folder holds, as spelled there (copied from Windows in capitals).
TEST(AppContext, TheSettingsFileIsFoundWhateverItsCase) {
  TempDir a, b;
  a.Write("DNSTPLUS.INI", "[Data]\r\n");
  EXPECT_EQ(AppContext(a.Path()).SettingsPath(), AppContext(a.Path()).AppDir() + "DNSTPLUS.INI");
  EXPECT_EQ(AppContext(b.Path()).SettingsPath(), AppContext(b.Path()).AppDir() + "dnstplus.ini");
}

TEST(AppContext, TheAlarmReadsTheContextsOwnScheduleFiles) {
  TempDir d;
  std::filesystem::create_directory(d.File("SCHEDULE"));  // a folder copied from Windows
  std::string month;
  for (int day = 1; day <= 31; ++day) month += day == 10 ? "[D@TA]1109:30\r\n" : "[D@TA]00\r\n";
  d.Write("SCHEDULE/SCH2612.DAT", month);
  AppContext ctx(d.Path());
  ctx.alarm.Start(At(2026, 12, 10, 8, 0));
  EXPECT_TRUE(ctx.alarm.Armed());
  EXPECT_EQ(ctx.alarm.Time(), "09:30");
  EXPECT_FALSE(ctx.alarm.Check(At(2026, 12, 10, 9, 29)));
  EXPECT_EQ(ctx.alarm.Check(At(2026, 12, 10, 9, 30)), std::optional<std::string>("09:30"));
  EXPECT_FALSE(ctx.alarm.Armed());
  EXPECT_FALSE(ctx.alarm.Check(At(2026, 12, 10, 9, 30)));  // once
}

TEST(AppContext, ARegistrationForTodayTakesEffectAtOnceAndRearms) {
  TempDir d;
  AppContext ctx(d.Path());
  const DateTime now = At(2026, 12, 10, 8, 0);
  ctx.alarm.Start(now);
  EXPECT_EQ(ctx.alarm.Time(), "");
  ctx.alarm.Set(false, "", alarmclock::LastCheck::Of(now));
  ctx.alarm.Registered(now, 2026, 12, 11, "08:30");  // another day: today's time stays
  EXPECT_TRUE(ctx.alarm.Armed());
  EXPECT_EQ(ctx.alarm.Time(), "");
  ctx.alarm.Registered(now, 2026, 11, 10, "08:30");  // the same day of another month
  EXPECT_EQ(ctx.alarm.Time(), "");
  ctx.alarm.Registered(now, 2026, 12, 10, "08:01");
  EXPECT_EQ(ctx.alarm.Time(), "08:01");
  EXPECT_EQ(ctx.alarm.Check(At(2026, 12, 10, 8, 1)), std::optional<std::string>("08:01"));
  ctx.alarm.Registered(now, 2026, 12, 10, "");  // the alarm switched off for today
  EXPECT_EQ(ctx.alarm.Time(), "");
}
