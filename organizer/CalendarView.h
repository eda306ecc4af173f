// The calendar side of the organiser: caption, weekday header, month grid with the hover marker and
// day tips, the day click, month steps, and the loading and saving of the displayed month.
#pragma once

#include <QObject>
#include <QString>
#include <array>

#include "organizer/OrganizerState.h"

class CalendarSurface;
class QFrame;
class QLabel;
class QWidget;

class CalendarView : public QObject {
  Q_OBJECT
 public:
  CalendarView(QWidget* frame, OrganizerState& state);

  // Redraws the grid for the month (0 and 13 wrap) and writes the caption.
  void DrawCalendar(int year, int month);
  void DrawShown() { DrawCalendar(s_.CalYear, s_.CalMonth); }
  // Pointer at (x, y) twips over the grid.
  void TrackPointer(double x, double y);
  void MoveDayMarker(int day);
  // Hides the marker (and the tip); `forgetDay` also sets PointDay to 0, so the same day's tip comes back.
  void HideMarker(bool forgetDay = false);
  // A click on the grid: taken when the input window is open on a calendar page and a day is pointed at.
  void DayClick();
  // Next (+1) or previous (-1) month, saving a changed month first; nothing happens when the user keeps
  // a month that could not be saved.
  void NextOrPrevious(int step);
  // Loads and draws the month the numbers hold, already stepped by `step`.
  void StepMonth(int step);

  // Loads the displayed month; a file that could not be read completely is said so.
  void LoadMonth();
  // Saves the displayed month when changed. On failure the user chooses between keeping the changes
  // (false: the caller stops) and discarding them (true).
  bool SaveIfDirty();

  void ShowMonthCaption();                         // "2004年12月"
  void ShowDayCaption(int day);                    // "2004年12月5日"
  const QString& TipText() const { return tip_; }  // the tip of the day under the pointer

  QLabel* Label2 = nullptr;
  std::array<QLabel*, 7> Label1{};
  QLabel* Label4 = nullptr;
  CalendarSurface* Picture1 = nullptr;
  QFrame* shpDay = nullptr;

 signals:
  void DayPicked(int day);  // an accepted day click, after SelDay and the caption are set
  void PointerMoved();      // after every pointer move over the grid (the pages take the focus)
  void MonthStepping();     // a month step begins: the schedule entry is disabled

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  OrganizerState& s_;
  QString tip_;
  bool tipStale_ = true;
};
