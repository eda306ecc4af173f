// Month grid arithmetic over std::chrono.
#include "organizer/CalendarModel.h"

#include <chrono>
#include <cmath>

#include "organizer/Holidays.h"
#include "organizer/TodoStore.h"
#include "platform/TextFile.h"

namespace calendar {

namespace {
using namespace std::chrono;
sys_days First(int y, int m) {
  return sys_days{year{y} / month{static_cast<unsigned>(m)} / day{1}};
}
}  // namespace

int FirstWeekday(int y, int m) {
  return static_cast<int>(weekday{First(y, m)}.c_encoding()) + 1;
}

int DaysInMonth(int y, int m) {
  if (m == 12) return 31;
  return static_cast<int>((First(y, m + 1) - First(y, m)).count());
}

void Wrap(int& y, int& m) {
  if (m == 13) {
    m = 1;
    ++y;
  } else if (m == 0) {
    m = 12;
    --y;
  }
}

std::string Caption(int y, int m) {
  Wrap(y, m);
  return std::to_string(y) + "年" + std::to_string(m) + "月";
}

Grid MonthGrid(int y, int m, const DateTime& today) {
  Wrap(y, m);
  Grid g;
  g.year = y;
  g.month = m;
  g.firstWday = FirstWeekday(y, m);
  g.monthDays = DaysInMonth(y, m);
  g.days.reserve(static_cast<std::size_t>(g.monthDays));
  for (int d = 1; d <= g.monthDays; ++d) {
    DayCell c;
    c.day = d;
    const int index = d + g.firstWday - 2;
    c.column = index % 7;
    c.row = index / 7;
    c.x = c.column * kCellW + 30;
    c.y = c.row * kCellH + 15;
    c.colour = c.column == 6 ? DayColour::Blue : DayColour::Black;
    if (c.column == 0 || IsHoliday(y, m, d)) c.colour = DayColour::Red;
    if (today.year == y && today.month == m && today.day == d) c.colour = DayColour::Magenta;
    g.days.push_back(c);
  }
  return g;
}

namespace {
bool IsDue(std::string_view item, int year, int month, int day) {
  const todo::ItemDate d = todo::DateOf(item);
  return d.year == year && d.month == month && d.day == day;
}
}  // namespace

TodoMark TodoMarkFor(const std::vector<std::string>& todo, int calYear, int calMonth, int day) {
  if (todo.empty() || todo.front().empty()) return TodoMark::None;
  // A one-character flag reads as 0..9, so the running product of the flags falls below 1 exactly when
  // one of them is not 1 or more.
  TodoMark mark = TodoMark::None;
  for (const std::string& item : todo) {
    if (!IsDue(item, calYear, calMonth, day)) continue;
    if (mark != TodoMark::Open) mark = todo::FlagOf(item) < 1 ? TodoMark::Open : TodoMark::Done;
  }
  return mark;
}

int PointDay(double x, double y, int firstWday) {
  const int column = static_cast<int>(std::floor((x - 30 + 0.2 * kCellW) / kCellW));
  const int row = static_cast<int>(std::floor((y - 10 + 0.1 * kCellH) / kCellH));
  return row * 7 + column - firstWday + 2;
}

MarkerRect DayMarker(int day, int firstWday, int textWidthTwips) {
  const int index = day + firstWday - 2;
  MarkerRect r;
  r.left = (index % 7) * kCellW + 30 - textWidthTwips / 3;
  r.top = (index / 7) * kCellH + 15;
  return r;
}

std::string DayTip(const std::vector<std::string>& todo, int calYear, int calMonth, int day,
                   const std::string& dayText) {
  std::string tip;
  if (!todo.empty() && !todo.front().empty()) {
    for (const std::string& item : todo) {
      if (!IsDue(item, calYear, calMonth, day)) continue;
      tip += todo::IsDone(item) ? "[◎] " : "[×] ";
      tip += todo::TextOfLine(item);
      tip += "\r\n";
    }
  }
  if (!tip.empty()) {
    tip.resize(tip.size() - 2);
    if (!dayText.empty()) tip += "\r\n\r\n";
  }
  return tip + dayText;
}

std::string RegisteredText(const std::string& typed) {
  std::string t = textfile::CrLfLineBreaks(typed);
  for (int i = 0; i < 4; ++i) {
    while (!t.empty() && t.back() == ' ') t.pop_back();
    if (t.size() >= 2 && t.compare(t.size() - 2, 2, "\r\n") == 0) t.resize(t.size() - 2);
  }
  return t;
}

std::string DateCaption(int year, int month, int day) {
  return std::to_string(year) + "年" + std::to_string(month) + "月" + std::to_string(day) + "日";
}

}  // namespace calendar
