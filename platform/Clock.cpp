// Local wall-clock time, or the time a test has set.
#include "platform/Clock.h"

#include <ctime>

#include "platform/ClockDetail.h"

namespace {
std::optional<DateTime> fake;

DateTime FromTm(const std::tm& tm) {
  return {tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}
}  // namespace

DateTime Clock::Now() {
  if (fake) return *fake;
  std::time_t t = std::time(nullptr);
  return FromTm(clockdetail::Local(t));
}

void Clock::SetForTest(std::optional<DateTime> t) {
  fake = t;
}

void Clock::AdvanceForTest(long seconds) {
  if (!fake) return;
  std::tm tm{};
  tm.tm_year = fake->year - 1900;
  tm.tm_mon = fake->month - 1;
  tm.tm_mday = fake->day;
  tm.tm_hour = fake->hour;
  tm.tm_min = fake->minute;
  tm.tm_sec = fake->second + static_cast<int>(seconds);
  tm.tm_isdst = -1;
  std::time_t t = std::mktime(&tm);
  fake = FromTm(clockdetail::Local(t));
}
