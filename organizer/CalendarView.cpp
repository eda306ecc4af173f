// Calendar view: the grid's pointer tracking and clicks come through an event filter on the surface.
#include "organizer/CalendarView.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QMouseEvent>

#include "organizer/CalendarModel.h"
#include "organizer/CalendarSurface.h"
#include "organizer/DayDecorations.h"
#include "organizer/OrganizerLayout.h"
#include "organizer/ScheduleStore.h"
#include "platform/CommonControls.h"
#include "platform/Fonts.h"
#include "platform/QtText.h"
#include "platform/Screen.h"
#include "platform/Twips.h"

namespace L = organizer_layout;

CalendarView::CalendarView(QWidget* frame) : QObject(frame) {
  Label2 = new QLabel(frame);
  Label2->setObjectName(QStringLiteral("Label2"));
  Label2->setFont(fonts::Design(fonts::Face::PGothic, 9.75));
  screen::PlaceTwips(Label2, L::kLabel2.left, L::kLabel2.top, L::kLabel2.width, L::kLabel2.height);

  Label4 = new QLabel(frame);
  Label4->setObjectName(QStringLiteral("Label4"));
  Label4->setAutoFillBackground(true);
  // The band is the 3D-highlight colour and the plain weekdays the window-text colour, as designed, while
  // they stay a light band with dark text next to the always-white month grid; under a dark palette
  // (where both turn the other way) the band is white and the text black. Both colours or neither.
  QPalette band = Label4->palette();
  const bool lightBand = band.color(QPalette::Light).lightness() >= 200;
  const QColor bandColour = lightBand ? band.color(QPalette::Light) : QColor(Qt::white);
  const QColor weekdayText = lightBand && band.color(QPalette::WindowText).lightness() < 100
                                 ? band.color(QPalette::WindowText)
                                 : Qt::black;
  band.setColor(QPalette::Window, bandColour);
  Label4->setPalette(band);
  screen::PlaceTwips(Label4, L::kLabel4.left, L::kLabel4.top, L::kLabel4.width, L::kLabel4.height);
  static const char* const kWeekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
  for (int i = 0; i < 7; ++i) {
    auto* l = new QLabel(QString::fromUtf8(kWeekdays[i]), frame);
    l->setObjectName(QStringLiteral("Label1_%1").arg(i));
    l->setFont(fonts::Design(fonts::Face::PGothic, 9.75, true));
    QPalette p = l->palette();
    p.setColor(QPalette::WindowText, i == 0 ? QColor(240, 0, 0) : i == 6 ? QColor(0, 0, 255) : weekdayText);
    l->setPalette(p);
    screen::PlaceTwips(l, L::kLabel1Left[static_cast<std::size_t>(i)], L::kLabel1Top, L::kLabel1Width,
                       L::kLabel1Height);
    Label1[static_cast<std::size_t>(i)] = l;
  }

  Picture1 = new CalendarSurface(frame);
  Picture1->move(twips::ToPixels(L::kPicture1.left, screen::TwipsPerPixelX()),
                 twips::ToPixels(L::kPicture1.top, screen::TwipsPerPixelY()));
  Picture1->setMouseTracking(true);
  Picture1->installEventFilter(this);
  connect(Picture1, &CalendarSurface::CaptionChanged, Label2, &QLabel::setText);

  shpDay = new QFrame(Picture1);
  shpDay->setObjectName(QStringLiteral("shpDay"));
  shpDay->setAttribute(Qt::WA_TransparentForMouseEvents);
  shpDay->setStyleSheet(
      QStringLiteral("QFrame#shpDay { border: 1px solid rgb(128, 128, 255); background: transparent; }"));
  shpDay->hide();
}

void CalendarView::SetMonth(int year, int month) {
  year_ = year;
  month_ = month;
}

void CalendarView::DrawShown() {
  Picture1->DrawCalendar(year_, month_, sources_);  // the caption follows
  // What a day shows may have changed (another month, a registration, a ToDo action): the next
  // pointer move builds its tip anew, even within the same cell.
  tipStale_ = true;
}

void CalendarView::ShowMonthCaption() {
  Label2->setText(Q(calendar::Caption(year_, month_)));
}

void CalendarView::ShowDayCaption(int day) {
  Label2->setText(Q(calendar::DateCaption(year_, month_, day)));
}

void CalendarView::TrackPointer(double x, double y) {
  prevPointDay_ = pointDay_;
  pointDay_ = calendar::PointDay(x, y, Picture1->FirstWday);
  if (pointDay_ < 1 || pointDay_ > Picture1->MonthDays) {
    tooltip::Hide();
    shpDay->hide();
  } else {
    MoveDayMarker(pointDay_);
    if (pointDay_ != prevPointDay_ || tipStale_) {
      tipStale_ = false;
      tooltip::Hide();
      tip_ = tooltip::FitScreen(Q(calendar::DayTip(sources_, year_, month_, pointDay_)), Picture1);
      tooltip::SetTip(Picture1, tip_);
    }
  }
  emit PointerMoved();
}

void CalendarView::MoveDayMarker(int day) {
  shpDay->show();
  if (day < 1 || day > Picture1->MonthDays) return;
  const double tx = screen::TwipsPerPixelX(), ty = screen::TwipsPerPixelY();
  const int oneWidth = static_cast<int>(
      twips::FromPixels(QFontMetrics(Label2->font()).horizontalAdvance(QLatin1Char('1')), tx));
  const calendar::MarkerRect r = calendar::DayMarker(day, Picture1->FirstWday, oneWidth);
  shpDay->setGeometry(twips::ToPixels(r.left, tx), twips::ToPixels(r.top, ty), twips::ToPixels(r.width, tx),
                      twips::ToPixels(r.height, ty));
  shpDay->show();
}

void CalendarView::HideMarker(bool forgetDay) {
  shpDay->hide();
  if (forgetDay) {
    pointDay_ = 0;
    tooltip::Hide();
  }
}

void CalendarView::DayClick() {
  if (!takesClicks_ || pointDay_ < 1 || pointDay_ > Picture1->MonthDays) return;
  selDay_ = pointDay_;
  ShowDayCaption(selDay_);
  emit DayPicked(year_, month_, selDay_);
}

bool CalendarView::eventFilter(QObject* watched, QEvent* e) {
  if (watched != Picture1) return false;
  const double tx = screen::TwipsPerPixelX(), ty = screen::TwipsPerPixelY();
  switch (e->type()) {
    case QEvent::MouseMove: {
      const QPointF at = static_cast<QMouseEvent*>(e)->position();
      TrackPointer(at.x() * tx, at.y() * ty);
      break;
    }
    case QEvent::MouseButtonRelease:
      if (static_cast<QMouseEvent*>(e)->button() == Qt::LeftButton &&
          Picture1->rect().contains(static_cast<QMouseEvent*>(e)->position().toPoint()))
        DayClick();
      break;
    case QEvent::Leave:
      // Where the pointer goes decides about PointDay (the controls it moves over); the tip goes now.
      HideMarker();
      tooltip::Hide();
      break;
    default:
      break;
  }
  return false;
}
