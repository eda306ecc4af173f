// The organiser window: a borderless frame that routes between the calendar view and the three pages
// of its input window (schedule entry, ToDo, free memo), with its picture buttons, drag strip and edges.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "core/AppContext.h"
#include "core/Module1.h"
#include "organizer/OrganizerPage.h"
#include "organizer/OrganizerPages.h"

class CSubclass;
class CalendarView;
class MemoPage;
class OrganizerPage;
class PictureButton;
class QFrame;
class QLabel;
class QTabBar;
class SchedulePage;
class TodoPage;

class FrmCal : public QWidget, private PageHost {
  Q_OBJECT
 public:
  // `ctx`: the run's context (the schedule page keeps today's alarm in it).
  // `makePages`: the input window's pages (the program's own list; a test may add one).
  using PageMaker = std::function<OrganizerPages(QWidget* frame, AppContext& ctx)>;
  explicit FrmCal(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr,
                  const PageMaker& makePages = MakeOrganizerPages);
  ~FrmCal() override;

  // The page switch: 0 schedule, 1 ToDo, 2 free memo; any other index only hides the day marker.
  void ChgSM(int index);
  // The tab strip's selection change reaches ChgSM while the host is hooked (one hook at a time).
  void HookTabHost(QWidget* host);
  void UnhookTabHost(QWidget* host);

  // Picture button actions (run on release).
  void CloseButton();        // (0)
  void ToggleInputWindow();  // (1)

  // Next (+1) or previous (-1) month.
  void NextOrPrevious(int step);
  // Shows the month, once every page has let the shown one go (saved or given up); false when one kept it.
  bool ShowMonth(int year, int month);
  // The input window is open (wide); the calendar takes day clicks (a calendar page, or none chosen yet).
  bool InputOpen() const { return inputOpen_; }
  bool CalActive() const { return calActive_; }
  int WidthTwips() const;

  CalendarView* View = nullptr;
  SchedulePage* Schedule = nullptr;
  TodoPage* Todo = nullptr;
  MemoPage* Memo = nullptr;
  std::array<PictureButton*, 4> Picture2{};
  QLabel* Image3 = nullptr;
  QWidget* Picture5 = nullptr;
  QTabBar* hTab = nullptr;
  std::array<QFrame*, 2> Line2{};

 signals:
  // Closed: the letter menus it cleared on opening should be loaded again.
  void PhoneMenusStale();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  std::vector<OrganizerPage*>
      pages_;  // the input window's pages, in the order of their tabs (OrganizerPages.cpp)
  std::vector<QWidget*> forgetDay_;  // the pages' controls whose pointer moves forget the marked day
  bool Load(const PageMaker& makePages);
  void TakePages(const OrganizerPages& pages);
  void WatchPointer();
  void PlaceButtons(bool wide);
  void SetLabel2Width(bool wide);
  void Widen();
  void KeepOnScreen();
  void SetWidthKeepingRight(int widthTwips, int shiftTwips);
  // Where the window was before it was widened, and where the widening put it.
  std::optional<std::pair<QPoint, QPoint>> narrowAt_;
  void SetInputOpen(bool open);
  // What the pages ask of the frame.
  void Redraw() override;
  void ShowDayCaption(int day) override;
  void ShowDate(int year, int month, int day) override;
  OrganizerPage* Current() const;

  AppContext& ctx_;
  int current_ = 0;  // the page chosen last (the schedule's until another tab is chosen)
  bool inputOpen_ = false;
  bool calActive_ = true;
  std::unique_ptr<CSubclass> clsSubclass;
  QMetaObject::Connection tabHostHook_;  // the tab strip's selection change while its host is hooked
  QPoint dragOffset_;
  bool manualDrag_ = false;
  bool unloaded_ = false;
};
