// Today's alarm: where the month's schedule file is, how its alarm time is read, and the clock check.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace alarmclock {

// "Schedule/Sch<yymm>.dat" under the program folder: two-digit year, so 1904 and 2004 share a file.
std::string ScheduleFileName(int year, int month);

// The alarm time "hh:mm" of `day` in the schedule file, or empty when the day has none (or the file
// or its folder is missing). Numbers are read leniently: a broken time gives 00:00.
std::string ReadAlarmTime(const std::string& path, int day);

std::string FormatTime(int hour, int minute);  // "hh:mm", 24-hour, normalised past 23:59

// A day's header line in a schedule file: "[D@TA]", the mark (character 7), the alarm flag (8), the
// hour (9-10) and minute (12-13), read the lenient way (missing or broken digits count as 0).
inline constexpr std::string_view kDayMarker = "[D@TA]";
struct DayHeader {
  int mark = 0;
  int alarm = 0;
  std::string time;  // "hh:mm"
};
bool IsDayHeader(std::string_view line);
DayHeader ParseDayHeader(std::string_view line);

// The alarm window's message at `now`, e.g. "9時05分です\r\nスケジュールを確認して下さい".
std::string Message(const DateTime& now);

// One clock check. On a new day it reloads the time (through `load`) and re-arms; it returns true when
// the alarm goes off (and disarms it).
bool Check(const DateTime& now, bool& armed, std::string& time, int& lastDay,
           const std::function<std::string()>& load);

}  // namespace alarmclock
