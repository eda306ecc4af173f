// The month grid: weekday of the 1st, month length, each day's cell and colour, and the ToDo marks.
#pragma once

#include <string>
#include <vector>

#include "platform/Clock.h"

namespace calendar {

inline constexpr int kCellW = 285;  // twips
inline constexpr int kCellH = 255;

int FirstWeekday(int year, int month);  // 1 = Sunday .. 7 = Saturday
int DaysInMonth(int year, int month);
// Month 0 is December of the year before, month 13 January of the year after.
void Wrap(int& year, int& month);
std::string Caption(int year, int month);  // "2005年1月"

enum class DayColour { Black, Blue, Red, Magenta };

struct DayCell {
  int day = 0;
  int column = 0;    // 0 = Sunday
  int row = 0;       // 0..5
  int x = 0, y = 0;  // where the number is printed, twips; pictures go at (x - 30, y)
  DayColour colour = DayColour::Black;
};

struct Grid {
  int year = 0, month = 0;  // after the wrap
  int firstWday = 1;
  int monthDays = 0;
  std::vector<DayCell> days;
};

// Sundays and holidays red, Saturdays blue, today magenta over everything.
Grid MonthGrid(int year, int month, const DateTime& today);

enum class TodoMark { None, Open, Done };

// ToDo lines hold the done flag at character 1, yy at 2-3, mm at 5-6, dd at 8-9. The open icon wins as
// soon as one item due that day is not done.
TodoMark TodoMarkFor(const std::vector<std::string>& todo, int calYear, int calMonth, int day);

// The day under a point (twips, relative to the grid surface); may fall outside 1..MonthDays.
int PointDay(double x, double y, int firstWday);

// Where the hover marker goes for `day`: left x - textWidth / 3, top y of the day's cell, 270 x 240.
struct MarkerRect {
  int left = 0, top = 0, width = 270, height = 240;
};
MarkerRect DayMarker(int day, int firstWday, int textWidthTwips);

// A day's tip: its due ToDo items ("[◎] " done, "[×] " open, the text from character 11), a blank line,
// then the day's schedule text. Empty when there is neither.
std::string DayTip(const std::vector<std::string>& todo, int calYear, int calMonth, int day,
                   const std::string& dayText);

// A registered text: line breaks as CR LF, then four times trailing blanks and one final CR LF removed.
std::string RegisteredText(const std::string& typed);

// "2004年12月5日".
std::string DateCaption(int year, int month, int day);

}  // namespace calendar
