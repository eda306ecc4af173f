#include "organizer/CalendarModel.h"

#include <gtest/gtest.h>

using namespace calendar;

namespace {
DayColour ColourOf(int y, int m, int d, DateTime today = {2000, 1, 1}) {
  return MonthGrid(y, m, today).days.at(static_cast<std::size_t>(d - 1)).colour;
}
}  // namespace

TEST(CalendarGrid, MonthLengthsAndFirstWeekdays) {
  EXPECT_EQ(DaysInMonth(2000, 2), 29);
  EXPECT_EQ(DaysInMonth(2004, 2), 29);
  EXPECT_EQ(DaysInMonth(1900, 2), 28);
  EXPECT_EQ(DaysInMonth(2100, 2), 28);
  EXPECT_EQ(DaysInMonth(2026, 12), 31);
  EXPECT_EQ(DaysInMonth(2026, 4), 30);
  EXPECT_EQ(FirstWeekday(2026, 12), 3);  // Tuesday
  EXPECT_EQ(FirstWeekday(2026, 2), 1);   // Sunday
  EXPECT_EQ(FirstWeekday(2026, 8), 7);   // Saturday
}

TEST(CalendarGrid, CellsForMonthsStartingOnEachWeekday) {
  // Months of 2026 starting Sunday (Feb, Mar, Nov) through Saturday (Aug): the weekday columns of
  // each month's first and last day, from a calendar (Sunday 0).
  const int firstColumn[12] = {4, 0, 0, 3, 5, 1, 3, 6, 2, 4, 0, 2};
  const int lastColumn[12] = {6, 6, 2, 4, 0, 2, 5, 1, 3, 6, 1, 4};
  const int cellLeft[7] = {30, 315, 600, 885, 1170, 1455, 1740};  // 285 twips a column
  for (int m = 1; m <= 12; ++m) {
    Grid g = MonthGrid(2026, m, {});
    const DayCell& first = g.days.front();
    EXPECT_EQ(first.column, firstColumn[m - 1]) << m;
    EXPECT_EQ(g.firstWday, firstColumn[m - 1] + 1) << m;
    EXPECT_EQ(first.row, 0);
    EXPECT_EQ(first.x, cellLeft[firstColumn[m - 1]]) << m;
    EXPECT_EQ(first.y, 15);
    const DayCell& last = g.days.back();
    EXPECT_EQ(last.column, lastColumn[m - 1]) << m;
    EXPECT_EQ(last.x, cellLeft[lastColumn[m - 1]]) << m;
  }
  Grid aug = MonthGrid(2026, 8, {});  // 31 days from a Saturday: six rows
  EXPECT_EQ(aug.days.back().row, 5);
  EXPECT_EQ(aug.days.back().column, 1);
  EXPECT_EQ(aug.days.back().y, 5 * 255 + 15);
  Grid feb = MonthGrid(2026, 2, {});  // 28 days from a Sunday: four rows
  EXPECT_EQ(feb.days.back().row, 3);
  EXPECT_EQ(feb.days.back().column, 6);
}

TEST(CalendarGrid, MonthsZeroAndThirteenWrap) {
  Grid jan = MonthGrid(2004, 13, {});
  EXPECT_EQ(jan.year, 2005);
  EXPECT_EQ(jan.month, 1);
  EXPECT_EQ(Caption(2004, 13), "2005年1月");
  EXPECT_EQ(Caption(2005, 0), "2004年12月");
  EXPECT_EQ(Caption(2004, 12), "2004年12月");
  EXPECT_EQ(MonthGrid(2005, 0, {}).monthDays, 31);
}

TEST(CalendarGrid, Colours) {
  EXPECT_EQ(ColourOf(2026, 12, 7), DayColour::Black);   // Monday
  EXPECT_EQ(ColourOf(2026, 12, 5), DayColour::Blue);    // Saturday
  EXPECT_EQ(ColourOf(2026, 12, 6), DayColour::Red);     // Sunday
  EXPECT_EQ(ColourOf(2026, 12, 23), DayColour::Black);  // no longer a holiday
  EXPECT_EQ(ColourOf(2026, 2, 23), DayColour::Red);
  EXPECT_EQ(ColourOf(2026, 5, 6), DayColour::Red);   // substitute
  EXPECT_EQ(ColourOf(2026, 9, 22), DayColour::Red);  // citizens' holiday
  EXPECT_EQ(ColourOf(2026, 8, 11), DayColour::Red);
  EXPECT_EQ(ColourOf(2004, 1, 12), DayColour::Red);
  EXPECT_EQ(ColourOf(2004, 7, 19), DayColour::Red);
  EXPECT_EQ(ColourOf(2004, 9, 20), DayColour::Red);
  EXPECT_EQ(ColourOf(2004, 10, 11), DayColour::Red);
  EXPECT_EQ(ColourOf(2004, 3, 20), DayColour::Red);  // a Saturday holiday is red, not blue
  EXPECT_EQ(ColourOf(2006, 1, 2), DayColour::Red);
  EXPECT_EQ(ColourOf(2001, 12, 24), DayColour::Red);
  EXPECT_EQ(ColourOf(2026, 5, 3, {2026, 5, 3}), DayColour::Magenta);  // today over a Sunday holiday
  EXPECT_EQ(ColourOf(2026, 6, 3, {2026, 5, 3}), DayColour::Black);    // another month: no magenta
  EXPECT_EQ(ColourOf(2025, 5, 10, {2026, 5, 3}), DayColour::Blue);
}

TEST(CalendarTodo, OpenWinsDoneOtherwiseOnlyForTheDisplayedMonth) {
  std::vector<std::string> todo{"026/12/07 会議の準備", "126/12/07 電話", "126/12/08 済んだ",
                                "026/11/07 先月", "x26/12/09 flag not a digit"};
  EXPECT_EQ(TodoMarkFor(todo, 2026, 12, 7), TodoMark::Open);
  EXPECT_EQ(TodoMarkFor(todo, 2026, 12, 8), TodoMark::Done);
  EXPECT_EQ(TodoMarkFor(todo, 2026, 12, 9), TodoMark::Open);
  EXPECT_EQ(TodoMarkFor(todo, 2026, 12, 10), TodoMark::None);
  EXPECT_EQ(TodoMarkFor(todo, 2026, 11, 7), TodoMark::Open);
  std::vector<std::string> emptyFirst{"", "026/12/07 x"};
  EXPECT_EQ(TodoMarkFor(emptyFirst, 2026, 12, 7), TodoMark::None);
  EXPECT_EQ(TodoMarkFor({}, 2026, 12, 7), TodoMark::None);
  EXPECT_EQ(TodoMarkFor({"126/12/7 x"}, 2026, 12, 7), TodoMark::Done);  // "7 " reads as 7
}

TEST(CalendarView, HitTestFollowsTheCellsWithTheirOffsets) {
  // The 1st on a Wednesday.
  EXPECT_EQ(calendar::PointDay(10, 10, 4), -2);
  EXPECT_EQ(calendar::PointDay(600, 300, 4), 7);
  // A column begins 57 twips before its boundary plus 30: x = 258 is still column 0, 259 column 1.
  EXPECT_EQ(calendar::PointDay(257.9, 100, 1), 1);
  EXPECT_EQ(calendar::PointDay(258, 100, 1), 2);
  // A row begins 15.5 twips above its boundary plus 10.
  EXPECT_EQ(calendar::PointDay(100, 239.4, 1), 1);
  EXPECT_EQ(calendar::PointDay(100, 239.5, 1), 8);
  EXPECT_EQ(calendar::PointDay(-100, 10, 1), 0);  // left of the grid
  const calendar::MarkerRect r = calendar::DayMarker(7, 4, 90);
  EXPECT_EQ(r.left, 570);  // day 7 from a Wednesday: the third column of the second row
  EXPECT_EQ(r.top, 270);
  EXPECT_EQ(r.width, 270);
  EXPECT_EQ(r.height, 240);
}

TEST(CalendarView, DayTipListsDueItemsThenTheSchedule) {
  const std::vector<std::string> todo{"104/12/05 資料を送る", "004/12/05 電話する", "004/12/06 other",
                                      "005/12/05 next year"};
  EXPECT_EQ(calendar::DayTip(todo, 2004, 12, 5, "A"), "[◎] 資料を送る\r\n[×] 電話する\r\n\r\nA");
  EXPECT_EQ(calendar::DayTip(todo, 2004, 12, 5, ""), "[◎] 資料を送る\r\n[×] 電話する");
  EXPECT_EQ(calendar::DayTip(todo, 2004, 12, 7, ""), "");
  EXPECT_EQ(calendar::DayTip(todo, 2004, 12, 7, "会議\r\n資料"), "会議\r\n資料");
  // An empty first line means no items at all.
  EXPECT_EQ(calendar::DayTip({"", "004/12/05 hidden"}, 2004, 12, 5, "A"), "A");
  // Garbage dates never match a real day; short lines give an empty text.
  EXPECT_EQ(calendar::DayTip({"0xx/yy/zz t", "1", "004/12/05"}, 2004, 12, 5, ""), "[×] ");
}

TEST(CalendarView, RegisteredTextLosesUpToFourTrailingBreaks) {
  EXPECT_EQ(calendar::RegisteredText("abc  \r\n\r\n\r\n"), "abc");
  EXPECT_EQ(calendar::RegisteredText("abc\n \n\n"), "abc");
  EXPECT_EQ(calendar::RegisteredText("a\r\n\r\n\r\n\r\n\r\n"), "a\r\n");  // a fifth stays
  EXPECT_EQ(calendar::RegisteredText("  lead\rmid  "), "  lead\r\nmid");
  EXPECT_EQ(calendar::RegisteredText(""), "");
  EXPECT_EQ(calendar::DateCaption(2004, 12, 5), "2004年12月5日");
}
