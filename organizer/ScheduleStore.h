// One month's schedule: 31 day slots (text, mark, alarm switch, alarm time) and its file.
#pragma once

#include <array>
#include <string>

struct MonthSchedule {
  static constexpr int kDays = 31;
  std::array<std::string, kDays> DayText;  // lines joined by CR LF; empty = no schedule
  std::array<int, kDays> DayMark{};        // 0..7
  std::array<int, kDays> DayAlarm{};       // 1 = alarm on
  std::array<std::string, kDays> DayTime;  // "hh:mm" or empty
};

namespace schedule {

// The month's file under the program folder (which ends in a separator).
std::string FilePath(const std::string& appDir, int year, int month);

// Reads the month into `s` (reset first). A missing file is an empty month; the "Schedule" folder is
// created when missing. Damaged files load what is valid: text before the first header and anything
// after a 31st record are skipped, letters where digits belong read as 0.
void LoadSchedule(const std::string& appDir, int year, int month, MonthSchedule& s);

enum class SaveResult { Saved, MarkerInText, Unencodable, WriteFailed };
struct SaveOutcome {
  SaveResult result = SaveResult::Saved;
  int day = 0;  // for MarkerInText / Unencodable: the first day whose text is refused
};

// Writes all 31 slots atomically. A text line beginning with "[D@TA]" would shift every later day on the
// next load, so such a month is refused; a failed write leaves the old file as it was.
SaveOutcome SaveSchedule(const std::string& appDir, int year, int month, const MonthSchedule& s);

// The first day (1-based) whose text has a line that begins with the marker, or 0.
int DayWithMarkerLine(const MonthSchedule& s);
bool TextHasMarkerLine(const std::string& text);

}  // namespace schedule
