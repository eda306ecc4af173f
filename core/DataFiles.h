// Every file the program keeps in its folder, by name: the stores, the start-up clean-up and the file
// watch take their names from here. Files copied from Windows may carry any letter case.
#pragma once

#include <string>
#include <string_view>

namespace datafiles {

inline constexpr std::string_view kSettings = "dnstplus.ini";
inline constexpr std::string_view kTodo = "ToDo.dat";
inline constexpr std::string_view kMemo = "freememo.dat";
inline constexpr std::string_view kPostal = "Ken_all.dat";  // the converted postal list
inline constexpr std::string_view kScheduleFolder = "Schedule";

// "Teldat<n>.tel": the phone book of group n.
std::string PhoneBook(int group);
// "Schedule/Sch<yymm>.dat": two-digit year, so 1904 and 2004 share a file. Named from the date Y/M/1,
// so a month past 12 or below 1 rolls into the next or previous year.
std::string ScheduleMonth(int year, int month);

// Whether a name in the program folder is one of its files (settings, phone books, ToDo, memo, postal
// list), in any letter case.
bool IsFolderFile(std::string_view name);
// Whether a name in the schedule folder is a month's file, "Sch<yymm>.dat" in any letter case.
bool IsScheduleMonthFile(std::string_view name);

}  // namespace datafiles
