// The schedule entry of the input window: the picked day's text, mark, alarm switch and time, and
// registration. It owns the schedule of the month the calendar shows, loads it and saves it.
#pragma once

#include <QObject>

#include <array>

#include "core/AppContext.h"
#include "organizer/DayDecorations.h"
#include "organizer/OrganizerPage.h"
#include "organizer/ScheduleStore.h"

class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTimeEdit;
class QToolButton;
class QWidget;

class SchedulePage : public QObject, public OrganizerPage {
  Q_OBJECT
 public:
  // `ctx`: its folder holds the schedule files, its alarm follows what is registered for today.
  SchedulePage(QWidget* frame, AppContext& ctx);

  QString Title() const override;
  void Attach(PageHost& host) override;
  bool Ready() const override;
  const DayDecorations* Decorations() const override { return &days_; }
  std::vector<QWidget*> PointerTargets() const override;
  void InputOpened() override;
  void InputClosed() override;
  bool UsesCalendar() const override;
  void Enter() override;
  void Leave(bool calendarNext) override;
  [[nodiscard]] bool Close() override;
  [[nodiscard]] bool MonthLeaving() override;
  void MonthShown(int year, int month) override;
  void DayPicked(int year, int month, int day) override;
  void FocusEntry() override;

  const MonthSchedule& Month() const { return month_; }
  bool Dirty() const { return dirty_; }  // the day arrays hold changes not yet written
  // Loads the month; a file that could not be read completely is said so.
  void LoadMonth(int year, int month);
  // Saves the month when changed. On failure the user chooses between keeping the changes (false: the
  // caller stops) and discarding them (true: the stored month is read again).
  bool SaveIfDirty();

  // A day click on the schedule page: the day's entry fills the controls.
  void ShowDay(int day);
  void SetPickerTime(int hour, int minute);
  // "登録(&S)": stores the entry in the day arrays (nothing is written to disk here).
  void Command1_Click();
  // Text1 and Command1 disabled (month step, page switch, input window closed); `clear` empties Text1.
  void DisableEntry(bool clear);
  // The marks follow the page, but only once a day of the month shown is picked.
  void SetMarksEnabled(bool on);

  QPlainTextEdit* Text1 = nullptr;
  std::array<QLabel*, 2> Label3{};
  std::array<QToolButton*, 8> Option1{};
  QCheckBox* Check1 = nullptr;
  QWidget* Picture3 = nullptr;
  QTimeEdit* hDtp = nullptr;
  QPushButton* Command1 = nullptr;

 signals:
  void Registered(int day);  // a day's entry went into the month: the grid redraws, the caption names it
  void Reloaded();           // the stored month was read again: the grid redraws

 private:
  int SelectedMark() const;
  void SetDayControlsEnabled(bool on);
  AppContext& ctx_;
  MonthSchedule month_;
  int year_ = 0, monthNo_ = 0;  // the month held
  int day_ = 0;                 // the day the entry shows; 0 before the first pick
  bool dirty_ = false;
  ScheduleDays days_{month_, year_, monthNo_};  // what the calendar's days show of the month held
};
