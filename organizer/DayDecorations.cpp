// The schedule's and the ToDo list's day decorations, and how the calendar combines them.
#include "organizer/DayDecorations.h"

#include <algorithm>

#include "organizer/CalendarModel.h"
#include "organizer/CalendarPictures.h"

bool ScheduleDays::Holds(int year, int month, int day) const {
  return year == year_ && month == monthNo_ && day >= 1 && day <= MonthSchedule::kDays;
}

void ScheduleDays::AddPictures(int year, int month, int day, std::vector<DayPicture>& out) const {
  if (!Holds(year, month, day)) return;
  const std::size_t i = static_cast<std::size_t>(day - 1);
  if (!month_.DayText[i].empty()) {
    const int picture = calendar_pictures::ForMark(month_.DayMark[i]);
    if (picture >= 0) out.push_back({DayPicture::kMark, picture});
  }
  if (month_.DayAlarm[i] == 1) out.push_back({DayPicture::kAlarm, calendar_pictures::kAlarm});
}

std::string ScheduleDays::TipPart(int year, int month, int day) const {
  return Holds(year, month, day) ? month_.DayText[static_cast<std::size_t>(day - 1)] : std::string();
}

void TodoDays::AddPictures(int year, int month, int day, std::vector<DayPicture>& out) const {
  switch (calendar::TodoMarkFor(lines_, year, month, day)) {
    case calendar::TodoMark::Open:
      out.push_back({DayPicture::kTodo, calendar_pictures::kTodoOpen});
      break;
    case calendar::TodoMark::Done:
      out.push_back({DayPicture::kTodo, calendar_pictures::kTodoDone});
      break;
    case calendar::TodoMark::None:
      break;
  }
}

std::string TodoDays::TipPart(int year, int month, int day) const {
  return calendar::DayTip(lines_, year, month, day, std::string());
}

namespace calendar {

std::vector<int> DayPictures(const std::vector<const DayDecorations*>& sources, int year, int month,
                             int day) {
  std::vector<DayPicture> all;
  for (const DayDecorations* s : sources) s->AddPictures(year, month, day, all);
  std::stable_sort(all.begin(), all.end(),
                   [](const DayPicture& a, const DayPicture& b) { return a.layer < b.layer; });
  std::vector<int> pictures;
  pictures.reserve(all.size());
  for (const DayPicture& p : all) pictures.push_back(p.picture);
  return pictures;
}

std::string DayTip(const std::vector<const DayDecorations*>& sources, int year, int month, int day) {
  std::vector<const DayDecorations*> ranked(sources);
  std::stable_sort(ranked.begin(), ranked.end(), [](const DayDecorations* a, const DayDecorations* b) {
    return a->TipRank() < b->TipRank();
  });
  std::string tip;
  for (const DayDecorations* s : ranked) {
    const std::string part = s->TipPart(year, month, day);
    if (part.empty()) continue;
    if (!tip.empty()) tip += "\r\n\r\n";
    tip += part;
  }
  return tip;
}

}  // namespace calendar
