// Schedule file reading and writing in code page 932.
#include "organizer/ScheduleStore.h"
#include "core/DataFiles.h"
#include "platform/Diag.h"

#include <vector>

#include "core/Alarm.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace schedule {
namespace {
// The file's lines, and what it held for the save's check.
textfile::Lines ReadLinesStamped(const std::string& path, textfile::Stamp& stamp) {
  const textfile::Bytes bytes = textfile::ReadAll(path);
  stamp = bytes.status == textfile::ReadStatus::Ok ? textfile::StampOf(bytes.data) : textfile::MissingFile();
  return textfile::Lines{bytes.status, textfile::SplitLines(bytes.data)};
}

// The month files' folder, made when missing (a failure shows when the file is written).
void MakeScheduleFolder(const std::string& appDir) {
  const std::string folder(datafiles::kScheduleFolder);
  if (textfile::FindNameIgnoringCase(appDir, folder, textfile::Entry::Folder).empty())
    (void)textfile::MakeFolder(appDir + folder);
}
}  // namespace

std::string FilePath(const std::string& appDir, int year, int month) {
  // Folders and files copied from Windows may differ in case ("SCHEDULE/SCH2612.DAT").
  return textfile::FindPathIgnoringCase(appDir, datafiles::ScheduleMonth(year, month));
}

bool LoadSchedule(const std::string& appDir, int year, int month, MonthSchedule& s) {
  s = MonthSchedule{};
  const std::string path = FilePath(appDir, year, month);
  textfile::Lines file = ReadLinesStamped(path, s.stamp);
  if (file.status == textfile::ReadStatus::Missing) {
    MakeScheduleFolder(appDir);
    file = ReadLinesStamped(path, s.stamp);
  }
  if (file.status == textfile::ReadStatus::Missing) return true;
  if (file.status != textfile::ReadStatus::Ok) {
    diag::Report(diag::Area::Organizer, diag::Level::Warning,
                 "schedule " + path + " not read: kept as it is");
    s.readCompletely = false;
    return false;
  }

  int n = 0;
  for (const std::string& raw : file.lines) {
    if (n >= MonthSchedule::kDays && alarmclock::IsDayHeader(raw)) ++n;
    if (n > MonthSchedule::kDays) {
      s.original.tail += raw;
      s.original.tail += "\r\n";
      continue;
    }
    if (alarmclock::IsDayHeader(raw)) {
      const std::size_t i = static_cast<std::size_t>(n++);
      alarmclock::DayHeader h = alarmclock::ParseDayHeader(raw);
      s.DayMark[i] = h.mark;
      s.DayAlarm[i] = h.alarm;
      s.DayTime[i] = std::move(h.time);
      continue;
    }
    if (n == 0) {
      s.original.lead += raw;
      s.original.lead += "\r\n";
      continue;
    }
    const std::size_t i = static_cast<std::size_t>(n - 1);
    s.DayText[i] += sjis::Decode(raw).text;
    s.DayText[i] += "\r\n";
    s.original.raw[i] += raw;
    s.original.raw[i] += "\r\n";
  }
  for (std::size_t i = 0; i < MonthSchedule::kDays; ++i) {
    std::string& text = s.DayText[i];
    std::string& raw = s.original.raw[i];
    if (raw.size() >= 2)
      raw.resize(raw.size() - 2);  // the lines' own breaks stay, the last one is the record's
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) continue;
    text.resize(text.size() - 2);
    while (!text.empty() && text.back() == ' ') text.pop_back();
  }
  s.original.text = s.DayText;
  return true;
}

bool TextHasMarkerLine(const std::string& text) {
  for (const std::string& line : textfile::SplitLines(text))
    if (alarmclock::IsDayHeader(line)) return true;
  return false;
}

int DayWithMarkerLine(const MonthSchedule& s) {
  for (int d = 0; d < MonthSchedule::kDays; ++d)
    if (TextHasMarkerLine(s.DayText[static_cast<std::size_t>(d)])) return d + 1;
  return 0;
}

SaveOutcome SaveSchedule(const std::string& appDir, int year, int month, MonthSchedule& s, bool overwrite) {
  if (!s.readCompletely) return {SaveResult::NotReadCompletely};
  if (int day = DayWithMarkerLine(s)) return {SaveResult::Refused, day};
  std::string out = s.original.lead;
  for (std::size_t i = 0; i < MonthSchedule::kDays; ++i) {
    out += alarmclock::kDayMarker;
    out += std::to_string(s.DayMark[i]) + std::to_string(s.DayAlarm[i]) + s.DayTime[i] + "\r\n";
    if (s.DayText[i].empty()) continue;
    if (s.DayText[i] == s.original.text[i]) {
      out += s.original.raw[i] + "\r\n";
      continue;
    }
    auto encoded = sjis::Encode(textfile::CrLfLineBreaks(s.DayText[i]));
    if (!encoded) return {SaveResult::Unencodable, static_cast<int>(i) + 1};
    out += *encoded + "\r\n";
  }
  out += s.original.tail;
  MakeScheduleFolder(appDir);
  const textfile::WriteResult w = textfile::WriteAtomic(
      FilePath(appDir, year, month), out, textfile::InPlace::Refused, overwrite ? nullptr : &s.stamp);
  if (w.step == textfile::Step::Changed) return {SaveResult::ChangedOnDisk};
  if (!w) return StoreOutcome::Failed(w);
  s.stamp = textfile::StampOf(out);
  return {};
}

}  // namespace schedule
