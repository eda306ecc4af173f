// What a page of the organiser adds to the calendar's days: pictures under the day numbers and a part
// of each day's tip, for whatever month the calendar draws. The calendar knows only this interface.
#pragma once

#include <string>
#include <vector>

#include "organizer/ScheduleStore.h"

struct DayPicture {
  // Pictures share the corner of the day's cell: the lower layer is drawn first.
  enum Layer { kMark = 0, kTodo = 1, kAlarm = 2 };
  int layer = kMark;
  int picture = 0;  // calendar_pictures index
};

class DayDecorations {
 public:
  virtual ~DayDecorations() = default;
  // The pictures for `day` of `year`/`month` (the month drawn), added to `out`.
  virtual void AddPictures(int year, int month, int day, std::vector<DayPicture>& out) const = 0;
  // This source's part of the day's tip (lines joined by CR LF); empty for none.
  virtual std::string TipPart(int year, int month, int day) const = 0;
  // Parts of a tip come in rising rank, a blank line between them (the ToDo items above the schedule).
  virtual int TipRank() const = 0;
};

// A schedule month as decorations: its day mark (for a day with text) and its alarm, and the day's text
// as its tip part; nothing for a month other than the one it holds.
class ScheduleDays final : public DayDecorations {
 public:
  // The month held is read through these at each use (the page loads another month into them).
  ScheduleDays(const MonthSchedule& month, const int& year, const int& monthNo)
      : month_(month), year_(year), monthNo_(monthNo) {}
  void AddPictures(int year, int month, int day, std::vector<DayPicture>& out) const override;
  std::string TipPart(int year, int month, int day) const override;
  int TipRank() const override { return 1; }

 private:
  bool Holds(int year, int month, int day) const;
  const MonthSchedule& month_;
  const int& year_;
  const int& monthNo_;
};

// ToDo lines as decorations: the open or done mark of the items due that day, and the items as the
// tip's first part ("[◎] " done, "[×] " open).
class TodoDays final : public DayDecorations {
 public:
  explicit TodoDays(const std::vector<std::string>& lines) : lines_(lines) {}
  void AddPictures(int year, int month, int day, std::vector<DayPicture>& out) const override;
  std::string TipPart(int year, int month, int day) const override;
  int TipRank() const override { return 0; }

 private:
  const std::vector<std::string>& lines_;
};

namespace calendar {
// Every source's pictures for a day, lowest layer first (sources of one layer in their order).
std::vector<int> DayPictures(const std::vector<const DayDecorations*>& sources, int year, int month, int day);
// The day's whole tip: the sources' parts in rank order, a blank line between non-empty parts.
std::string DayTip(const std::vector<const DayDecorations*>& sources, int year, int month, int day);
}  // namespace calendar
