// The schedule entry of the input window: the picked day's text, mark, alarm switch and time, and
// registration.
#pragma once

#include <QObject>

#include <array>
#include "organizer/OrganizerPage.h"

#include "organizer/OrganizerState.h"

class CalendarView;
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
  SchedulePage(QWidget* frame, OrganizerState& state, CalendarView& view);

  bool UsesCalendar() const override;
  void Enter() override;
  void Leave(bool calendarNext) override;
  [[nodiscard]] bool Close() override;

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

 private:
  int SelectedMark() const;
  void SetDayControlsEnabled(bool on);
  OrganizerState& s_;
  CalendarView& view_;
};
