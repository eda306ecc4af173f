// Holiday rules over std::chrono dates.
#include "organizer/Holidays.h"

#include <array>
#include <chrono>
#include <cmath>

namespace holidays {
namespace {

using namespace std::chrono;

sys_days Date(int y, int m, int d) {
  return sys_days{year{y} / month{static_cast<unsigned>(m)} / day{static_cast<unsigned>(d)}};
}

year_month_day Ymd(sys_days s) {
  return year_month_day{s};
}

int WeekdayOf(sys_days s) {
  return static_cast<int>(weekday{s}.c_encoding());
}  // 0 = Sunday

// Day of month of the n-th Monday.
int NthMonday(int y, int m, int n) {
  int first = WeekdayOf(Date(y, m, 1));
  int firstMonday = 1 + (8 - first) % 7;
  return firstMonday + 7 * (n - 1);
}

struct EquinoxConstants {
  double vernal, autumnal;
};

EquinoxConstants ConstantsFor(int y) {
  if (y >= 1900 && y <= 1979) return {20.8357, 23.2588};
  if (y >= 2100 && y <= 2150) return {21.8510, 24.2488};
  return {20.8431, 23.2488};
}

int Equinox(int y, double constant) {
  const double d = y - 1980;
  return static_cast<int>(std::floor((d * 0.242194 + constant) - std::floor(d / 4.0)));
}

// One rule per month: is day d of that month in year y a named holiday?
using MonthRule = bool (*)(int y, int d);
constexpr std::array<MonthRule, 12> kMonthRules{
    [](int y, int d) { return d == 1 || (y <= 1999 ? d == 15 : d == NthMonday(y, 1, 2)); },
    [](int y, int d) { return (d == 11 && y >= 1967) || (d == 23 && y >= 2020) || (y == 1989 && d == 24); },
    [](int y, int d) { return d == VernalEquinoxDay(y); },
    [](int y, int d) { return d == 29 || (y == 1959 && d == 10) || (y == 2019 && d == 30); },
    [](int y, int d) {
      return d == 3 || d == 5 || (d == 4 && y >= 2007) || (y == 2019 && (d == 1 || d == 2));
    },
    [](int y, int d) { return y == 1993 && d == 9; },
    [](int y, int d) {
      if (y == 2020) return d == 23 || d == 24;
      if (y == 2021) return d == 22 || d == 23;
      if (y >= 1996 && y <= 2002) return d == 20;
      return y >= 2003 && d == NthMonday(y, 7, 3);
    },
    [](int y, int d) {
      if (y == 2020) return d == 10;
      if (y == 2021) return d == 8;
      return y >= 2016 && d == 11;
    },
    [](int y, int d) {
      if (d == AutumnalEquinoxDay(y)) return true;
      if (y >= 1966 && y <= 2002) return d == 15;
      return y >= 2003 && d == NthMonday(y, 9, 3);
    },
    [](int y, int d) {
      if (y == 2019 && d == 22) return true;  // enthronement ceremony
      if (y >= 1966 && y <= 1999) return d == 10;
      if (y == 2020 || y == 2021) return false;  // moved to July for the Olympic Games
      return y >= 2000 && d == NthMonday(y, 10, 2);
    },
    [](int y, int d) { return d == 3 || d == 23 || (y == 1990 && d == 12); },
    [](int y, int d) { return y >= 1989 && y <= 2018 && d == 23; },
};

bool NamedOn(sys_days s) {
  const year_month_day ymd = Ymd(s);
  const auto m = static_cast<unsigned>(ymd.month());
  if (m < 1 || m > 12) return false;
  return kMonthRules[m - 1](static_cast<int>(ymd.year()), static_cast<int>(static_cast<unsigned>(ymd.day())));
}

bool SubstituteOn(sys_days s) {
  if (NamedOn(s)) return false;
  const sys_days prev = s - days{1};
  if (prev < Date(1973, 4, 12)) return false;
  if (prev < Date(2007, 1, 1)) return WeekdayOf(prev) == 0 && NamedOn(prev);
  // From 2007 the substitute moves past holidays that follow the Sunday.
  for (sys_days t = prev; NamedOn(t); t -= days{1})
    if (WeekdayOf(t) == 0) return t >= Date(2007, 1, 1);
  return false;
}

bool CitizensOn(sys_days s) {
  if (s < Date(1988, 1, 1)) return false;
  if (NamedOn(s) || SubstituteOn(s)) return false;
  if (s < Date(2007, 1, 1) && WeekdayOf(s) == 0) return false;
  return NamedOn(s - days{1}) && NamedOn(s + days{1});
}

bool Valid(int y, int m, int d) {
  if (m < 1 || m > 12 || d < 1 || d > 31 || y < -30000 || y > 30000) return false;
  return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}.ok();
}

}  // namespace

int VernalEquinoxDay(int year) {
  return Equinox(year, ConstantsFor(year).vernal);
}
int AutumnalEquinoxDay(int year) {
  return Equinox(year, ConstantsFor(year).autumnal);
}

bool IsNamedHoliday(int y, int m, int d) {
  return Valid(y, m, d) && NamedOn(Date(y, m, d));
}
bool IsSubstituteHoliday(int y, int m, int d) {
  return Valid(y, m, d) && SubstituteOn(Date(y, m, d));
}
bool IsCitizensHoliday(int y, int m, int d) {
  return Valid(y, m, d) && CitizensOn(Date(y, m, d));
}

}  // namespace holidays

bool IsHoliday(int y, int m, int d) {
  return holidays::IsNamedHoliday(y, m, d) || holidays::IsSubstituteHoliday(y, m, d) ||
         holidays::IsCitizensHoliday(y, m, d);
}
