// The calendar side of the organiser: caption, weekday header, month grid with the hover marker and
// day tips, and the day click. It owns the displayed month (as numbers) and draws what the pages hold
// for it, read only.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <string>
#include <utility>
#include <vector>

class CalendarSurface;
class QFrame;
class QLabel;
class QWidget;
class DayDecorations;

class CalendarView : public QObject {
  Q_OBJECT
 public:
  explicit CalendarView(QWidget* frame);

  // What the days show: the schedule month and the ToDo lines, owned by their pages.
  // What the days show (pictures, tips), from each page that decorates them.
  void SetSources(std::vector<const DayDecorations*> sources) { sources_ = std::move(sources); }
  int Year() const { return year_; }
  int Month() const { return month_; }
  void SetMonth(int year, int month);
  int PointDay() const { return pointDay_; }
  int SelDay() const { return selDay_; }  // the day of the last accepted click; 0 before the first
  // Whether day clicks are taken (the input window is open on a calendar page).
  void SetTakesClicks(bool on) { takesClicks_ = on; }

  // Redraws the grid for the shown month and writes the caption.
  void DrawShown();
  // Pointer at (x, y) twips over the grid.
  void TrackPointer(double x, double y);
  void MoveDayMarker(int day);
  // Hides the marker (and the tip); `forgetDay` also sets PointDay to 0, so the same day's tip comes back.
  void HideMarker(bool forgetDay = false);
  // A click on the grid: taken when clicks are and a day is pointed at.
  void DayClick();

  void ShowMonthCaption();                         // "2004年12月"
  void ShowDayCaption(int day);                    // "2004年12月5日"
  const QString& TipText() const { return tip_; }  // the tip of the day under the pointer

  QLabel* Label2 = nullptr;
  std::array<QLabel*, 7> Label1{};
  QLabel* Label4 = nullptr;
  CalendarSurface* Picture1 = nullptr;
  QFrame* shpDay = nullptr;

 signals:
  void DayPicked(int year, int month, int day);  // an accepted day click, after the caption is set
  void PointerMoved();  // after every pointer move over the grid (the pages take the focus)

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  std::vector<const DayDecorations*> sources_;
  int year_ = 0, month_ = 0;
  int pointDay_ = 0, prevPointDay_ = 0;
  int selDay_ = 0;
  bool takesClicks_ = false;
  QString tip_;
  bool tipStale_ = true;
};
