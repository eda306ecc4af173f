// What the organiser window's rooms share: the displayed month, its day arrays, the ToDo lines and the
// form-level flags.
#pragma once

#include <string>

#include "organizer/ScheduleStore.h"
#include "organizer/TodoStore.h"

struct OrganizerState {
  int CalYear = 0, CalMonth = 0;  // the displayed month
  MonthSchedule month;            // DayText, DayMark, DayAlarm, DayTime of that month
  bool SchDirty = false;          // the day arrays hold changes not yet written
  int SelDay = 0;                 // day picked by the last accepted click; 0 before the first
  int PointDay = 0, PrevPointDay = 0;
  bool CalActive = true;    // calendar clicks are taken (schedule or ToDo page)
  bool TodoActive = false;  // the ToDo page shows
  bool InputOpen = false;   // the window is wide
  todo::TodoBook todo;      // todo.lines are the ToDo lines
  std::string TodoPrefix;   // date prefix of the next added or modified item, "04/12/05 "
};
