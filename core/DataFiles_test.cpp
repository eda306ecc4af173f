#include "core/DataFiles.h"

#include <gtest/gtest.h>

TEST(DataFiles, NamesAsUsersFilesHaveThem) {
  EXPECT_EQ(datafiles::PhoneBook(1), "Teldat1.tel");
  EXPECT_EQ(datafiles::PhoneBook(5), "Teldat5.tel");
  EXPECT_EQ(datafiles::ScheduleMonth(2004, 12), "Schedule/Sch0412.dat");
  EXPECT_EQ(datafiles::ScheduleMonth(1904, 12), "Schedule/Sch0412.dat");  // two-digit year
  EXPECT_EQ(datafiles::ScheduleMonth(2026, 1), "Schedule/Sch2601.dat");
  EXPECT_EQ(datafiles::ScheduleMonth(2004, 13), "Schedule/Sch0501.dat");  // months roll into years
  EXPECT_EQ(datafiles::ScheduleMonth(2005, 0), "Schedule/Sch0412.dat");
  EXPECT_EQ(datafiles::ScheduleMonth(2000, -1), "Schedule/Sch9911.dat");
}

TEST(DataFiles, RecognisesItsOwnFilesInAnyCaseAndNothingElse) {
  for (const char* ours : {"dnstplus.ini", "DNSTPLUS.INI", "Teldat1.tel", "TELDAT5.TEL", "ToDo.dat",
                           "todo.dat", "freememo.dat", "FREEMEMO.DAT", "Ken_all.dat", "KEN_ALL.DAT"})
    EXPECT_TRUE(datafiles::IsFolderFile(ours)) << ours;
  for (const char* other : {"Teldat0.tel", "Teldat6.tel", "Teldat1.tel~", "Ken_all.csv", "ToDo.dat.bak", "",
                            "Sch2612.dat", "dialnestplus"})
    EXPECT_FALSE(datafiles::IsFolderFile(other)) << other;
  for (const char* month : {"Sch2612.dat", "SCH0001.DAT", "sch9912.Dat"})
    EXPECT_TRUE(datafiles::IsScheduleMonthFile(month)) << month;
  for (const char* other : {"Sch261.dat", "Sch26120.dat", "Sch26x2.dat", "Sch2612.tel", "XSch2612.dat", ""})
    EXPECT_FALSE(datafiles::IsScheduleMonthFile(other)) << other;
}
