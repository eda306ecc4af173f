// One page of the organiser's input window (schedule, ToDo, memo) as the frame sees it. The frame shows
// one page at a time and knows nothing else of them: a new page is one more implementation of this.
#pragma once

#include <QWidget>

#include "platform/Screen.h"
#include "platform/Twips.h"

class OrganizerPage {
 public:
  virtual ~OrganizerPage() = default;

  // Whether the calendar takes day clicks while this page shows.
  virtual bool UsesCalendar() const = 0;
  // Its tab was chosen: the page's controls come up (the frame has laid itself out for it).
  virtual void Enter() = 0;
  // Another page comes up (`calendarNext`: one that uses the calendar): this page's controls go, and
  // what it holds is kept.
  virtual void Leave(bool calendarNext) = 0;
  // The window closes: what the page holds is saved; false when the window is to stay open.
  [[nodiscard]] virtual bool Close() = 0;

  // The calendar is about to show another month: what the page holds of the shown one is saved (or given
  // up by the user's choice); false keeps the month.
  [[nodiscard]] virtual bool MonthLeaving() { return true; }
  // The calendar shows `year`/`month` now (also at opening).
  virtual void MonthShown(int /*year*/, int /*month*/) {}
  // A day click on the calendar while this page shows.
  virtual void DayPicked(int /*year*/, int /*month*/, int /*day*/) {}
  // The pointer moves over the calendar: the page's entry, when it takes input, takes the focus.
  virtual void FocusEntry() {}

 protected:
  // A panel out of sight below the window, disabled, as the pages are kept while another shows.
  static void HidePanel(QWidget* panel, int hiddenTopTwips) {
    panel->setEnabled(false);
    panel->move(panel->x(), twips::ToPixels(hiddenTopTwips, screen::TwipsPerPixelY()));
  }
  static void ShowPanel(QWidget* panel, int topTwips) {
    panel->setEnabled(true);
    panel->move(panel->x(), twips::ToPixels(topTwips, screen::TwipsPerPixelY()));
  }
};
