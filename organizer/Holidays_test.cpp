#include "organizer/Holidays.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

namespace {
// Every holiday of a year as "m/d", in date order.
std::vector<std::string> HolidaysOf(int year) {
  using namespace std::chrono;
  std::vector<std::string> out;
  for (sys_days s = sys_days{std::chrono::year{year} / 1 / 1};
       s <= sys_days{std::chrono::year{year} / 12 / 31}; s += days{1}) {
    year_month_day ymd{s};
    int m = static_cast<int>(static_cast<unsigned>(ymd.month())),
        d = static_cast<int>(static_cast<unsigned>(ymd.day()));
    if (IsHoliday(year, m, d)) out.push_back(std::to_string(m) + "/" + std::to_string(d));
  }
  return out;
}
using V = std::vector<std::string>;
}  // namespace

TEST(Holidays, WholeYearsUnderTheCurrentLaw) {
  EXPECT_EQ(HolidaysOf(2026), (V{"1/1", "1/12", "2/11", "2/23", "3/20", "4/29", "5/3", "5/4", "5/5", "5/6",
                                 "7/20", "8/11", "9/21", "9/22", "9/23", "10/12", "11/3", "11/23"}));
  EXPECT_EQ(HolidaysOf(2019),
            (V{"1/1", "1/14", "2/11", "3/21", "4/29", "4/30", "5/1",   "5/2",   "5/3",  "5/4",  "5/5",
               "5/6", "7/15", "8/11", "8/12", "9/16", "9/23", "10/14", "10/22", "11/3", "11/4", "11/23"}));
  EXPECT_EQ(HolidaysOf(2020), (V{"1/1", "1/13", "2/11", "2/23", "2/24", "3/20", "4/29", "5/3", "5/4", "5/5",
                                 "5/6", "7/23", "7/24", "8/10", "9/21", "9/22", "11/3", "11/23"}));
  EXPECT_EQ(HolidaysOf(2021), (V{"1/1", "1/11", "2/11", "2/23", "3/20", "4/29", "5/3", "5/4", "5/5", "7/22",
                                 "7/23", "8/8", "8/9", "9/20", "9/23", "11/3", "11/23"}));
}

TEST(Holidays, EarlierLawsAndOneOffDays) {
  EXPECT_EQ(HolidaysOf(2004), (V{"1/1", "1/12", "2/11", "3/20", "4/29", "5/3", "5/4", "5/5", "7/19", "9/20",
                                 "9/23", "10/11", "11/3", "11/23", "12/23"}));
  EXPECT_EQ(HolidaysOf(1989), (V{"1/1", "1/2", "1/15", "1/16", "2/11", "2/24", "3/21", "4/29", "5/3", "5/4",
                                 "5/5", "9/15", "9/23", "10/10", "11/3", "11/23", "12/23"}));
  EXPECT_TRUE(IsHoliday(1959, 4, 10));
  EXPECT_TRUE(IsHoliday(1990, 11, 12));
  EXPECT_TRUE(IsHoliday(1993, 6, 9));
  EXPECT_TRUE(IsHoliday(1996, 7, 20));
  EXPECT_FALSE(IsHoliday(1995, 7, 20));  // 海の日 from 1996
  EXPECT_FALSE(IsHoliday(1966, 2, 11));  // 建国記念の日 from 1967
  EXPECT_TRUE(IsHoliday(1988, 4, 29));   // still the Emperor's birthday
  EXPECT_FALSE(IsHoliday(2019, 12, 23));
  EXPECT_FALSE(IsHoliday(2026, 12, 23));
}

TEST(Holidays, SubstituteDays) {
  EXPECT_TRUE(IsHoliday(2006, 1, 2));                      // 1/1 on a Sunday
  EXPECT_TRUE(IsHoliday(2001, 12, 24));                    // 12/23 on a Sunday
  EXPECT_TRUE(holidays::IsSubstituteHoliday(2009, 5, 6));  // 5/3 Sunday, 5/4 and 5/5 already holidays
  EXPECT_FALSE(IsHoliday(2009, 5, 7));
  EXPECT_TRUE(IsHoliday(1973, 4, 30));                     // the first substitute day
  EXPECT_FALSE(IsHoliday(1973, 2, 12));                    // before the rule: 2/11 on a Sunday
  EXPECT_TRUE(holidays::IsSubstituteHoliday(1998, 5, 4));  // before 2007 only the day after the Sunday
  EXPECT_FALSE(IsHoliday(1998, 5, 6));
  EXPECT_TRUE(IsHoliday(2017, 1, 2));
  EXPECT_TRUE(IsHoliday(2023, 1, 2));
  EXPECT_TRUE(IsHoliday(2024, 2, 12));
  EXPECT_TRUE(IsHoliday(2025, 11, 24));
  EXPECT_FALSE(IsHoliday(2025, 11, 25));
}

TEST(Holidays, CitizensDays) {
  EXPECT_TRUE(holidays::IsCitizensHoliday(1988, 5, 4));
  EXPECT_TRUE(holidays::IsCitizensHoliday(2015, 9, 22));
  EXPECT_TRUE(holidays::IsCitizensHoliday(2026, 9, 22));
  EXPECT_TRUE(holidays::IsCitizensHoliday(2032, 9, 21));
  EXPECT_TRUE(holidays::IsCitizensHoliday(1993, 5, 4));
  EXPECT_FALSE(holidays::IsCitizensHoliday(1992, 5, 4));  // a Monday that is a substitute day already
  EXPECT_TRUE(holidays::IsSubstituteHoliday(1992, 5, 4));
  EXPECT_FALSE(IsHoliday(1986, 5, 4));  // a Sunday between two holidays before 2007
}

TEST(Holidays, EquinoxesByTheFormulaWithFloor) {
  EXPECT_EQ(holidays::VernalEquinoxDay(2004), 20);
  EXPECT_EQ(holidays::AutumnalEquinoxDay(2004), 23);
  EXPECT_EQ(holidays::VernalEquinoxDay(2011), 21);
  EXPECT_EQ(holidays::AutumnalEquinoxDay(2011), 23);
  EXPECT_EQ(holidays::VernalEquinoxDay(2012), 20);
  EXPECT_EQ(holidays::AutumnalEquinoxDay(2012), 22);
  EXPECT_EQ(holidays::VernalEquinoxDay(1979), 21);
  EXPECT_EQ(holidays::AutumnalEquinoxDay(1979), 24);
  EXPECT_EQ(holidays::VernalEquinoxDay(1961), 21);  // truncating division would give 20
  EXPECT_EQ(holidays::AutumnalEquinoxDay(1961), 23);
  EXPECT_EQ(holidays::VernalEquinoxDay(2100), 20);  // the 2100-2150 constants
  EXPECT_EQ(holidays::AutumnalEquinoxDay(2100), 23);
}

TEST(Holidays, ImpossibleDatesAreNoHolidays) {
  EXPECT_FALSE(IsHoliday(2026, 2, 30));
  EXPECT_FALSE(IsHoliday(2026, 13, 1));
  EXPECT_FALSE(IsHoliday(2026, 0, 1));
  EXPECT_FALSE(IsHoliday(2026, 257, 1));
  EXPECT_FALSE(IsHoliday(2026, 1, 0));
}
