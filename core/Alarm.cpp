// Alarm time lookup in the month's schedule file and the once-a-day clock check.
#include "core/Alarm.h"

#include <cstdio>

#include "platform/Diag.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace alarmclock {

namespace {

// The lenient numeric value of the bytes [from, from + count) of a header (1-based).
long Field(std::string_view line, std::size_t from, std::size_t count) {
  if (line.size() < from) return 0;
  return textchars::LeadingNumber(std::string_view(line).substr(from - 1, count));
}
}  // namespace

std::string FormatTime(int hour, int minute) {
  int total = ((hour * 60 + minute) % 1440 + 1440) % 1440;
  char buf[8];
  std::snprintf(buf, sizeof buf, "%02d:%02d", total / 60, total % 60);
  return buf;
}

bool IsDayHeader(std::string_view line) {
  return line.substr(0, kDayMarker.size()) == kDayMarker;
}

DayHeader ParseDayHeader(std::string_view line) {
  return {static_cast<int>(Field(line, 7, 1)), static_cast<int>(Field(line, 8, 1)),
          FormatTime(static_cast<int>(Field(line, 9, 2)), static_cast<int>(Field(line, 12, 2)))};
}

std::string ReadAlarmTime(const std::string& path, int day) {
  // Header bytes are ASCII, so the file is read as bytes without decoding.
  textfile::Lines file = textfile::ReadLines(path);
  if (file.status == textfile::ReadStatus::Error)
    diag::Report(diag::Area::Organizer, diag::Level::Warning,
                 "schedule " + path + " could not be read: no alarm today");
  std::string time;
  int counter = 0;
  for (const std::string& line : file.lines) {
    if (!IsDayHeader(line)) continue;
    if (++counter != day) continue;
    const DayHeader h = ParseDayHeader(line);
    if (h.alarm == 1) time = h.time;
  }
  return time;
}

bool IsLate(const DateTime& now, const std::string& due) {
  return due != FormatTime(now.hour, now.minute);
}

std::string Message(const DateTime& now, const std::string& due) {
  char buf[64];
  if (!IsLate(now, due))
    std::snprintf(buf, sizeof buf, "%d時%02d分です\r\n", now.hour, now.minute);
  else
    std::snprintf(buf, sizeof buf, "%d時%02d分のアラームです\r\n", static_cast<int>(Field(due, 1, 2)),
                  static_cast<int>(Field(due, 4, 2)));
  return std::string(buf) + "スケジュールを確認して下さい";
}

std::optional<std::string> Check(const DateTime& now, bool& armed, std::string& time, LastCheck& last,
                                 const std::function<std::string(const DateTime&)>& load) {
  const auto [date, minute] = LastCheck::Of(now);
  // Alarm times after `from` up to this minute were passed since the previous check.
  int from = last.minute;
  if (date != last.date) {
    time = load(now);
    armed = true;
    from = last.date != 0 && date > last.date ? -1 : minute;
  }
  last = LastCheck::Of(now);
  if (!armed || time.empty()) return std::nullopt;
  const int due = static_cast<int>(Field(time, 1, 2)) * 60 + static_cast<int>(Field(time, 4, 2));
  if (due != minute && !(from < due && due <= minute)) return std::nullopt;
  armed = false;
  return time;
}

}  // namespace alarmclock
