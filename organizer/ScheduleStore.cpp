// Schedule file reading and writing in code page 932.
#include "organizer/ScheduleStore.h"

#include <sys/stat.h>

#include <vector>

#include "core/Alarm.h"
#include "platform/Sjis.h"
#include "platform/TextChars.h"
#include "platform/TextFile.h"

namespace schedule {
namespace {
constexpr std::string_view kMarker = "[D@TA]";

bool IsHeader(std::string_view line) {
  return line.substr(0, kMarker.size()) == kMarker;
}

long Field(std::string_view line, std::size_t from, std::size_t count) {
  if (line.size() < from) return 0;
  return textchars::LeadingNumber(line.substr(from - 1, count));
}
}  // namespace

std::string FilePath(const std::string& appDir, int year, int month) {
  return appDir + alarmclock::ScheduleFileName(year, month);
}

void LoadSchedule(const std::string& appDir, int year, int month, MonthSchedule& s) {
  s = MonthSchedule{};
  const std::string path = FilePath(appDir, year, month);
  textfile::Lines file = textfile::ReadLines(path);
  if (file.status == textfile::ReadStatus::Missing) {
    ::mkdir((appDir + "Schedule").c_str(), 0755);
    file = textfile::ReadLines(path);
  }
  if (file.status != textfile::ReadStatus::Ok) return;

  int n = 0;
  for (const std::string& raw : file.lines) {
    if (IsHeader(raw)) {
      if (++n > MonthSchedule::kDays) break;
      const std::size_t i = static_cast<std::size_t>(n - 1);
      s.DayMark[i] = static_cast<int>(Field(raw, 7, 1));
      s.DayAlarm[i] = static_cast<int>(Field(raw, 8, 1));
      s.DayTime[i] =
          alarmclock::FormatTime(static_cast<int>(Field(raw, 9, 2)), static_cast<int>(Field(raw, 12, 2)));
      continue;
    }
    if (n == 0) continue;
    std::string& text = s.DayText[static_cast<std::size_t>(n - 1)];
    text += sjis::Decode(raw).text;
    text += "\r\n";
  }
  for (std::string& text : s.DayText) {
    if (text.size() < 2 || text.compare(text.size() - 2, 2, "\r\n") != 0) continue;
    text.resize(text.size() - 2);
    while (!text.empty() && text.back() == ' ') text.pop_back();
  }
}

bool TextHasMarkerLine(const std::string& text) {
  for (const std::string& line : textfile::SplitLines(text))
    if (IsHeader(line)) return true;
  return false;
}

int DayWithMarkerLine(const MonthSchedule& s) {
  for (int d = 0; d < MonthSchedule::kDays; ++d)
    if (TextHasMarkerLine(s.DayText[static_cast<std::size_t>(d)])) return d + 1;
  return 0;
}

SaveOutcome SaveSchedule(const std::string& appDir, int year, int month, const MonthSchedule& s) {
  if (int day = DayWithMarkerLine(s)) return {SaveResult::MarkerInText, day};
  std::string out;
  for (std::size_t i = 0; i < MonthSchedule::kDays; ++i) {
    out += kMarker;
    out += std::to_string(s.DayMark[i]) + std::to_string(s.DayAlarm[i]) + s.DayTime[i] + "\r\n";
    if (s.DayText[i].empty()) continue;
    auto encoded = sjis::Encode(s.DayText[i]);
    if (!encoded) return {SaveResult::Unencodable, static_cast<int>(i) + 1};
    out += *encoded + "\r\n";
  }
  ::mkdir((appDir + "Schedule").c_str(), 0755);
  if (!textfile::WriteAtomic(FilePath(appDir, year, month), out)) return {SaveResult::WriteFailed, 0};
  return {};
}

}  // namespace schedule
