// The organiser frame: load and unload, the page switch, picture buttons, drag strip and edge lines.
#include "organizer/FrmCal.h"

#include "organizer/OrganizerPage.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTimeEdit>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "core/Module1.h"
#include "organizer/CalendarModel.h"
#include "organizer/CalendarPictures.h"
#include "organizer/CalendarView.h"
#include "organizer/OrganizerLayout.h"
#include "organizer/OrganizerPages.h"
#include "organizer/PictureButton.h"
#include "platform/Clock.h"
#include "platform/CommonControls.h"
#include "platform/Fonts.h"
#include "platform/MsgBox.h"
#include "platform/Screen.h"
#include "platform/Subclass.h"
#include "platform/Twips.h"

namespace L = organizer_layout;

namespace {
const QColor kEdgeDark(102, 109, 141);

int Px(int twipsValue) {
  return twips::ToPixels(twipsValue, screen::TwipsPerPixelX());
}
int PxY(int twipsValue) {
  return twips::ToPixels(twipsValue, screen::TwipsPerPixelY());
}

QPixmap DragStrip(int width, int height) {
  QPixmap pm = screen::SharpPixmap(QSize(width, height));
  QPainter p(&pm);
  QLinearGradient g(0, 0, width, 0);
  g.setColorAt(0, QColor(132, 140, 180));
  g.setColorAt(1, QColor(90, 98, 136));
  p.fillRect(pm.rect(), g);
  p.setPen(QColor(220, 224, 240));
  for (int y = height / 2 - 12; y <= height / 2 + 12; y += 4) p.drawPoint(width / 2, y);
  return pm;
}
}  // namespace

FrmCal::FrmCal(AppContext& ctx, QWidget* parent, const PageMaker& makePages)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint), ctx_(ctx) {
  // Tips show whenever the pointer rests on the calendar or a button, whichever window is active (and
  // with no window manager, where this one never is).
  setAttribute(Qt::WA_AlwaysShowToolTips);
  setObjectName(QStringLiteral("FrmCal"));
  setWindowTitle(QString());
  setMouseTracking(true);
  setFont(fonts::Form());
  if (!Load(makePages)) {
    MsgBox(QStringLiteral("ご使用の環境では動作は保証されていません"), MsgIcon::Warning);
    QTimer::singleShot(0, this, &QWidget::close);
  }
}

FrmCal::~FrmCal() {
  if (tabHostHook_) UnhookTabHost(Picture5);
}

bool FrmCal::Load(const PageMaker& makePages) {
  clsSubclass = std::make_unique<CSubclass>();
  clsSubclass->window = this;
  basSubclass::SubclassWindow(clsSubclass.get());

  Image3 = new QLabel(this);
  Image3->setObjectName(QStringLiteral("Image3"));
  Image3->setCursor(Qt::SizeAllCursor);
  Image3->setGeometry(0, 0, Px(L::kImage3Width), PxY(L::kHeight));
  Image3->setPixmap(DragStrip(Image3->width(), Image3->height()));
  Image3->setMouseTracking(true);
  Image3->installEventFilter(this);

  View = new CalendarView(this);
  TakePages(makePages(this, ctx_));

  Picture5 = new QWidget(this);
  Picture5->setObjectName(QStringLiteral("Picture5"));
  screen::PlaceTwips(Picture5, L::kPicture5.left, L::kPicture5.top, L::kPicture5.width, L::kPicture5.height);
  QStringList titles;
  for (const OrganizerPage* page : pages_) titles << page->Title();
  hTab = CreateVerticalTabs(Picture5, titles);
  hTab->setObjectName(QStringLiteral("hTab"));
  hTab->setGeometry(Picture5->rect());
  hTab->setMouseTracking(true);
  hTab->installEventFilter(this);

  static const char* const kTips[] = {"閉じる", nullptr, "次の月へ", "前の月へ"};
  for (int i = 0; i < 4; ++i) {
    auto* b = new PictureButton(this);
    b->setObjectName(QStringLiteral("Picture2_%1").arg(i));
    b->SetPicture(calendar_pictures::ButtonPicture(i));
    if (kTips[i]) b->setToolTip(QString::fromUtf8(kTips[i]));
    connect(b, &PictureButton::Moved, this, [this, i] {
      View->HideMarker();
      if (i == 1)
        Picture2[1]->setToolTip(inputOpen_ ? QStringLiteral("入力ウィンドウを閉じる")
                                           : QStringLiteral("入力ウィンドウを開く"));
    });
    Picture2[static_cast<std::size_t>(i)] = b;
  }
  // Named for a screen reader before any hover sets its tip.
  Picture2[1]->setAccessibleName(QStringLiteral("入力ウィンドウを開く"));
  connect(Picture2[0], &PictureButton::Released, this, &FrmCal::CloseButton);
  connect(Picture2[1], &PictureButton::Released, this, &FrmCal::ToggleInputWindow);
  connect(Picture2[2], &PictureButton::Released, this, [this] { NextOrPrevious(+1); });
  connect(Picture2[3], &PictureButton::Released, this, [this] { NextOrPrevious(-1); });
  PlaceButtons(false);

  for (int i = 0; i < 2; ++i) {
    auto* line = new QFrame(this);
    line->setObjectName(QStringLiteral("Line2_%1").arg(i));
    line->setAutoFillBackground(true);
    QPalette p = line->palette();
    p.setColor(QPalette::Window, i == 0 ? kEdgeDark : QColor(Qt::white));
    line->setPalette(p);
    line->setAttribute(Qt::WA_TransparentForMouseEvents);
    Line2[static_cast<std::size_t>(i)] = line;
  }

  WatchPointer();
  connect(View, &CalendarView::DayPicked, this,
          [this](int year, int month, int day) { Current()->DayPicked(year, month, day); });
  connect(View, &CalendarView::PointerMoved, this, [this] {
    for (OrganizerPage* page : pages_) page->FocusEntry();
  });
  // The pages' panels lie over the calendar and the schedule entry; the buttons over everything.
  for (OrganizerPage* page : pages_) page->Attach(*this);
  for (PictureButton* b : Picture2) b->raise();
  for (QFrame* l : Line2) l->raise();

  screen::FixedSizeTwips(this, L::kNarrowWidth, L::kHeight);
  SetLabel2Width(false);
  Picture2[1]->SetPicture(calendar_pictures::Picture(1));

  const DateTime today = Clock::Now();
  View->SetMonth(today.year, today.month);
  SetInputOpen(false);
  for (OrganizerPage* page : pages_) page->MonthShown(today.year, today.month);
  for (OrganizerPage* page : pages_) page->Opened();
  View->DrawShown();
  HookTabHost(Picture5);
  // What can fail here on this toolkit: a page's own control refusing its format, or the tab strip its
  // tabs.
  return hTab->count() == static_cast<int>(pages_.size()) &&
         std::all_of(pages_.begin(), pages_.end(), [](const OrganizerPage* p) { return p->Ready(); });
}

void FrmCal::TakePages(const OrganizerPages& pages) {
  pages_ = pages.all;
  Schedule = pages.schedule;
  Todo = pages.todo;
  Memo = pages.memo;
  std::vector<const DayDecorations*> decorations;
  for (const OrganizerPage* page : pages_)
    if (const DayDecorations* d = page->Decorations()) decorations.push_back(d);
  View->SetSources(std::move(decorations));
}

void FrmCal::WatchPointer() {
  // The controls whose pointer moves hide the day marker; over a page's own, the marked day is forgotten.
  std::vector<QWidget*> hovered{View->Label4, Picture5};
  for (QLabel* l : View->Label1) hovered.push_back(l);
  for (const OrganizerPage* page : pages_)
    for (QWidget* w : page->PointerTargets()) {
      hovered.push_back(w);
      forgetDay_.push_back(w);
    }
  for (QWidget* w : hovered) {
    w->setMouseTracking(true);
    w->installEventFilter(this);
  }
}

void FrmCal::HookTabHost(QWidget* host) {
  if (tabHostHook_ || !host) return;
  auto* bar = host->findChild<QTabBar*>();
  if (!bar) return;
  tabHostHook_ = connect(bar, &QTabBar::currentChanged, this, [this](int index) { ChgSM(index); });
}

void FrmCal::UnhookTabHost(QWidget*) {
  disconnect(tabHostHook_);
  tabHostHook_ = {};
}

int FrmCal::WidthTwips() const {
  return static_cast<int>(twips::FromPixels(width(), screen::TwipsPerPixelX()));
}

void FrmCal::PlaceButtons(bool wide) {
  const auto& lefts = wide ? L::kButtonLeftWide : L::kButtonLeftNarrow;
  for (std::size_t i = 0; i < 4; ++i)
    screen::PlaceTwips(Picture2[i], lefts[i], L::kButtonTop, L::kButtonSize, L::kButtonSize);
}

void FrmCal::SetLabel2Width(bool wide) {
  screen::PlaceTwips(View->Label2, L::kLabel2.left, L::kLabel2.top,
                     wide ? L::kLabel2WidthWide : L::kLabel2WidthNarrow, L::kLabel2.height);
}

void FrmCal::SetWidthKeepingRight(int widthTwips, int shiftTwips) {
  const bool widening = shiftTwips < 0;
  const QPoint before = pos();
  // Narrowing where the widening put it (kept on the screen, not dragged since) goes back to the left
  // edge it had: no drift away from the tray at every toggle.
  if (!widening && narrowAt_ && before == narrowAt_->second)
    move(narrowAt_->first);
  else
    move(x() + Px(shiftTwips), y());
  setFixedSize(Px(widthTwips), PxY(L::kHeight));
  KeepOnScreen();
  narrowAt_.reset();
  if (widening) narrowAt_.emplace(before, pos());
}

// A tray at the left or top edge would put the window (or its wide layout) partly off the screen:
// it is moved just enough to be seen whole.
void FrmCal::KeepOnScreen() {
  QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
  if (!s) return;
  const QRect area = s->availableGeometry();
  QPoint at = pos();
  at.setX(std::max(area.left(), std::min(at.x(), area.right() + 1 - width())));
  at.setY(std::max(area.top(), std::min(at.y(), area.bottom() + 1 - height())));
  if (at != pos()) move(at);
}

void FrmCal::showEvent(QShowEvent* e) {
  QWidget::showEvent(e);
  KeepOnScreen();
}

void FrmCal::Widen() {
  if (WidthTwips() < L::kWidenBelow)
    SetWidthKeepingRight(L::kWideWidth, -L::kShift);
  else
    setFixedSize(Px(L::kWideWidth), PxY(L::kHeight));
  KeepOnScreen();
}

void FrmCal::ChgSM(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= pages_.size()) return;
  current_ = index;
  OrganizerPage* next = Current();
  View->HideMarker();
  // The page's controls are about to be disabled: the focus waits on the tab strip rather than passing
  // on by itself to the ToDo list, whose focus would make its first item current as if chosen.
  if (QWidget* fw = QApplication::focusWidget(); fw && fw != hTab && isAncestorOf(fw)) hTab->setFocus();
  for (OrganizerPage* page : pages_)
    if (page != next) page->Leave(next->UsesCalendar());
  // The frame for the page: the calendar pages share the wide layout with the close-input button on
  // top; the memo covers the calendar and keeps only the first button in place.
  if (next->UsesCalendar()) {
    PlaceButtons(true);
    SetLabel2Width(true);
    Picture2[1]->raise();
    Picture2[1]->SetPicture(calendar_pictures::Picture(0));
    View->ShowMonthCaption();
    calActive_ = true;
    SetInputOpen(true);
  } else {
    Picture2[1]->lower();
    calActive_ = false;
    View->SetTakesClicks(false);
    screen::PlaceTwips(Picture2[0], L::kButtonLeftWide[0], L::kButtonTop, L::kButtonSize, L::kButtonSize);
  }
  Widen();
  next->Enter();
}

OrganizerPage* FrmCal::Current() const {
  return pages_[static_cast<std::size_t>(current_)];
}

void FrmCal::SetInputOpen(bool open) {
  inputOpen_ = open;
  View->SetTakesClicks(inputOpen_ && calActive_);
}

void FrmCal::NextOrPrevious(int step) {
  int year = View->Year(), month = View->Month() + step;
  calendar::Wrap(year, month);
  ShowMonth(year, month);
}

bool FrmCal::ShowMonth(int year, int month) {
  for (OrganizerPage* page : pages_)
    if (!page->MonthLeaving()) return false;
  View->ShowMonthCaption();
  View->SetMonth(year, month);
  for (OrganizerPage* page : pages_) page->MonthShown(year, month);
  View->DrawShown();
  return true;
}

void FrmCal::Redraw() {
  View->DrawShown();
}

void FrmCal::ShowDayCaption(int day) {
  View->ShowDayCaption(day);
}

// A ToDo item's date: a month 00 or 13 names no month, and the calendar stays. The shown month is not
// read again (that would drop registered changes); another month comes only once the changed one is
// saved or given up.
void FrmCal::ShowDate(int year, int month, int day) {
  if (month < 1 || month > 12) return;
  if (year == View->Year() && month == View->Month())
    View->DrawShown();
  else if (!ShowMonth(year, month))
    return;
  View->ShowDayCaption(day);
}

void FrmCal::ToggleInputWindow() {
  if (!inputOpen_) {
    PlaceButtons(true);
    SetLabel2Width(true);
    SetWidthKeepingRight(L::kWideWidth, -L::kShift);
    Picture2[1]->SetPicture(calendar_pictures::Picture(0));
    Picture2[1]->setAccessibleName(QStringLiteral("入力ウィンドウを閉じる"));
    SetInputOpen(true);
    for (OrganizerPage* page : pages_) page->InputOpened();
    return;
  }
  PlaceButtons(false);
  SetLabel2Width(false);
  SetWidthKeepingRight(L::kNarrowWidth, L::kShift);
  Picture2[1]->SetPicture(calendar_pictures::Picture(1));
  Picture2[1]->setAccessibleName(QStringLiteral("入力ウィンドウを開く"));
  SetInputOpen(false);
  View->ShowMonthCaption();
  for (OrganizerPage* page : pages_) page->InputClosed();
}

void FrmCal::CloseButton() {
  close();
}

// Every way of closing runs the close button's steps: a changed month is saved (or given up by the
// user's choice), the ToDo file written, and the tray's letter menus come back.
void FrmCal::closeEvent(QCloseEvent* e) {
  if (unloaded_) {
    e->accept();
    return;
  }
  // Each page saves what it holds; one that cannot (and the user keeps the window) stops the close.
  for (OrganizerPage* page : pages_)
    if (!page->Close()) {
      e->ignore();
      return;
    }
  // Query-unload, then unload.
  basSubclass::UnsubclassWindow(clsSubclass.get());
  clsSubclass.reset();
  tooltip::Hide();
  UnhookTabHost(Picture5);
  unloaded_ = true;
  emit PhoneMenusStale();  // opening cleared the letter menus
  e->accept();
}

void FrmCal::paintEvent(QPaintEvent*) {
  QPainter p(this);
  const int w = width(), h = height();
  p.setPen(kEdgeDark);
  p.drawLine(0, 0, w, 0);
  p.drawLine(0, h - PxY(15), w, h - PxY(15));
  p.setPen(Qt::white);
  p.drawLine(0, PxY(15), w, PxY(15));
  p.drawLine(0, h - PxY(30), w, h - PxY(30));
}

void FrmCal::resizeEvent(QResizeEvent* e) {
  QWidget::resizeEvent(e);
  const int w = WidthTwips();
  if (Line2[0]) screen::PlaceTwips(Line2[0], w - 15, 0, 15, L::kLine2Bottom0);
  if (Line2[1]) screen::PlaceTwips(Line2[1], w - 30, L::kLine2Top1, 15, L::kLine2Bottom1 - L::kLine2Top1);
}

void FrmCal::mouseMoveEvent(QMouseEvent* e) {
  // Only the window's own background: moves that children leave unhandled come here too.
  if (!childAt(e->position().toPoint())) View->HideMarker(true);
  QWidget::mouseMoveEvent(e);
}

bool FrmCal::eventFilter(QObject* watched, QEvent* e) {
  const bool mouse = e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseMove ||
                     e->type() == QEvent::MouseButtonRelease;
  if (watched == Image3 && mouse) {
    auto* m = static_cast<QMouseEvent*>(e);
    if (e->type() == QEvent::MouseButtonPress && m->button() == Qt::LeftButton) {
      // A real move by the window system; where it refuses, the strip moves the window itself.
      manualDrag_ = !(windowHandle() && windowHandle()->startSystemMove());
      dragOffset_ = m->globalPosition().toPoint() - pos();
      return true;
    }
    if (e->type() == QEvent::MouseMove && manualDrag_ && (m->buttons() & Qt::LeftButton)) {
      move(m->globalPosition().toPoint() - dragOffset_);
      return true;
    }
    if (e->type() == QEvent::MouseButtonRelease) manualDrag_ = false;
  }
  if (e->type() == QEvent::MouseMove) {
    const bool forget = std::find(forgetDay_.begin(), forgetDay_.end(), watched) != forgetDay_.end();
    View->HideMarker(forget);
  }
  return false;
}
