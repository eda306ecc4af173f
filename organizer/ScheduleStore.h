// One month's schedule: 31 day slots (text, mark, alarm switch, alarm time) and its file.
#pragma once

#include <array>
#include <string>

#include "core/StoreOutcome.h"
#include "platform/TextFile.h"

struct MonthSchedule {
  static constexpr int kDays = 31;
  std::array<std::string, kDays> DayText;  // lines joined by CR LF; empty = no schedule
  std::array<int, kDays> DayMark{};        // 0..7
  std::array<int, kDays> DayAlarm{};       // 1 = alarm on
  std::array<std::string, kDays> DayTime;  // "hh:mm" or empty

  // What the file held, so a save gives back byte for byte what nobody changed: bytes code page 932
  // cannot decode, trailing blanks, and lines outside the 31 records.
  struct Original {
    std::array<std::string, kDays> text;  // DayText as loaded
    std::array<std::string, kDays> raw;   // the day's text lines as read, joined by CR LF
    std::string lead;                     // lines before the first header, each with CR LF
    std::string tail;                     // the 32nd header and everything after it
  } original;
  // False when the file exists but could not be read completely: such a month is never written back.
  bool readCompletely = true;
  textfile::Stamp stamp;  // what the file held when read (or last written)
};

namespace schedule {

// The month's file under the program folder (which ends in a separator).
std::string FilePath(const std::string& appDir, int year, int month);

// Reads the month into `s` (reset first); returns whether the file was read completely (a missing file
// is an empty month, read completely). The "Schedule" folder is created when missing. Damaged files
// load what is valid: letters where digits belong read as 0; text before the first header and anything
// from a 32nd header on are kept aside for the next save.
bool LoadSchedule(const std::string& appDir, int year, int month, MonthSchedule& s);

// The program's one save outcome: Refused (a text line starting with the day marker) and Unencodable
// name the first day refused in `item`.
using SaveOutcome = StoreOutcome;
using SaveResult = StoreOutcome::Kind;

// Writes all 31 slots atomically; line breaks go out as CR LF whatever they were in memory. A text
// line beginning with "[D@TA]" would shift every later day on the next load, so such a month is
// refused; a failed write leaves the old file as it was. A file another program changed since it was
// read is not written unless `overwrite` (ChangedOnDisk).
[[nodiscard]] SaveOutcome SaveSchedule(const std::string& appDir, int year, int month, MonthSchedule& s,
                                       bool overwrite = false);

// The first day (1-based) whose text has a line that begins with the marker, or 0.
int DayWithMarkerLine(const MonthSchedule& s);
bool TextHasMarkerLine(const std::string& text);

}  // namespace schedule
