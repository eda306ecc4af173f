// Japanese public holidays under the Public Holiday Act, as dated rules: fixed and n-th Monday days
// with their years of force, the equinoxes, the one-off days, substitute and citizens' holidays.
#pragma once

namespace holidays {

// A holiday named by the act (or a one-off day by its own law); no substitute or citizens' holiday.
bool IsNamedHoliday(int year, int month, int day);
// The day after a Sunday holiday (from 2007: the first following day that is not already a holiday).
bool IsSubstituteHoliday(int year, int month, int day);
// A day between two named holidays.
bool IsCitizensHoliday(int year, int month, int day);

// Vernal and autumnal equinox days of March and September.
int VernalEquinoxDay(int year);
int AutumnalEquinoxDay(int year);

}  // namespace holidays

// Any kind of public holiday.
bool IsHoliday(int year, int month, int day);
