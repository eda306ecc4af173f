// One page of the organiser's input window (schedule, ToDo, memo) as the frame sees it. The frame shows
// one page at a time and knows nothing else of them: a new page is one more implementation of this,
// listed in OrganizerPages.cpp.
#pragma once

#include <QString>
#include <QWidget>
#include <vector>

class DayDecorations;

// What the frame does for its pages: they ask through this, never through each other.
class PageHost {
 public:
  virtual ~PageHost() = default;
  // The calendar draws its month again (a page changed what the days show).
  virtual void Redraw() = 0;
  // The date caption names this day of the shown month.
  virtual void ShowDayCaption(int day) = 0;
  // The calendar goes to the date (once every page has let the shown month go) and names it.
  virtual void ShowDate(int year, int month, int day) = 0;
};

#include "platform/Screen.h"
#include "platform/Twips.h"

class OrganizerPage {
 public:
  virtual ~OrganizerPage() = default;

  // Its tab's caption.
  virtual QString Title() const = 0;
  // The frame is built: the page connects what it tells the frame, raises the panels that lie over
  // the calendar. Called once, before the first month is shown.
  virtual void Attach(PageHost& /*host*/) {}
  // The window has opened on its first month: a page that reads its file once reads it now.
  virtual void Opened() {}
  // False when a control the page needs could not be made as designed on this toolkit.
  virtual bool Ready() const { return true; }
  // What the page puts on the calendar's days (nullptr: nothing).
  virtual const DayDecorations* Decorations() const { return nullptr; }
  // Controls whose pointer moves hide the calendar's day marker and forget the day it marked.
  virtual std::vector<QWidget*> PointerTargets() const { return {}; }
  // The input window opens over the calendar (by its button), or closes (the calendar alone again).
  virtual void InputOpened() {}
  virtual void InputClosed() {}

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
