// Today's alarm: where the month's schedule file is, how its alarm time is read, and the clock check.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/Clock.h"

namespace alarmclock {

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

// The alarm window's message at `now` for the alarm due at `due` ("hh:mm"): on time
// "9時05分です\r\nスケジュールを確認して下さい"; late, the time it was due,
// "9時05分のアラームです\r\nスケジュールを確認して下さい".
std::string Message(const DateTime& now, const std::string& due);
// Whether an alarm due at `due` ("hh:mm") goes off after its minute.
bool IsLate(const DateTime& now, const std::string& due);

// What the previous clock check saw: its date (yyyymmdd, 0 before the first check) and minute of the day.
struct LastCheck {
  int date = 0;
  int minute = 0;
  // As if checked at `now`: what start-up records, so a jump before the first timed check still counts.
  static LastCheck Of(const DateTime& now) {
    return {now.year * 10000 + now.month * 100 + now.day, now.hour * 60 + now.minute};
  }
};

// One clock check. On a new date (year, month and day, so a jump to the same day of another month
// counts) it reloads the time through `load(now)` and re-arms. The alarm goes off, and is disarmed, when
// it is armed and its time is this minute or was passed since the previous check: a minute the program
// did not see (a suspended machine, a stopped process, the clock set forward) rings late, at once.
// Times passed before the program's first check, or crossed by setting the clock back, do not ring; a
// jump forward to a later date counts that day from its start. Returns the time that went off.
std::optional<std::string> Check(const DateTime& now, bool& armed, std::string& time, LastCheck& last,
                                 const std::function<std::string(const DateTime&)>& load);

}  // namespace alarmclock
