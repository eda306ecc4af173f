// Schedule month file: load, save, load again gives the same month, and a second save the same bytes.
#include "fuzz/FuzzSupport.h"
#include "organizer/ScheduleStore.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const std::string& dir = fuzz::Scratch();
  const std::string path = schedule::FilePath(dir, 2026, 1);
  fuzz::Put(path, std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
  MonthSchedule s;
  FUZZ_CHECK(schedule::LoadSchedule(dir, 2026, 1, s));
  if (data[0] & 1) {  // an edit of one day
    s.DayText[data[0] % 31] = "edited\nline";
    s.DayMark[data[0] % 31] = 3;
  }
  const schedule::SaveOutcome first = schedule::SaveSchedule(dir, 2026, 1, s);
  if (first.kind != schedule::SaveResult::Saved) {
    FUZZ_CHECK(first.kind == schedule::SaveResult::Refused ||
               first.kind == schedule::SaveResult::Unencodable);
    return 0;
  }
  MonthSchedule back;
  FUZZ_CHECK(schedule::LoadSchedule(dir, 2026, 1, back));
  for (std::size_t i = 0; i < 31; ++i) {
    FUZZ_CHECK(back.DayMark[i] == s.DayMark[i] && back.DayAlarm[i] == s.DayAlarm[i]);
    // A slot without a time is written without one, which reads back as 00:00.
    FUZZ_CHECK(back.DayTime[i] == (s.DayTime[i].empty() ? "00:00" : s.DayTime[i]));
    // Trailing blanks of the last line are the reader's to drop.
    std::string want = s.DayText[i] == "edited\nline" ? "edited\r\nline" : s.DayText[i];
    FUZZ_CHECK(back.DayText[i] == want);
  }
  // From then on the file is stable: the same month saves to the same bytes and loads the same.
  FUZZ_CHECK(schedule::SaveSchedule(dir, 2026, 1, back).kind == schedule::SaveResult::Saved);
  const std::string bytes = fuzz::Get(path);
  MonthSchedule again;
  FUZZ_CHECK(schedule::LoadSchedule(dir, 2026, 1, again));
  FUZZ_CHECK(again.DayText == back.DayText && again.DayTime == back.DayTime && again.DayMark == back.DayMark);
  FUZZ_CHECK(schedule::SaveSchedule(dir, 2026, 1, again).kind == schedule::SaveResult::Saved);
  FUZZ_CHECK(fuzz::Get(path) == bytes);
  return 0;
}
