// Drawing the month into the surface's own pixmap.
#include "organizer/CalendarSurface.h"

#include <QPainter>

#include "organizer/CalendarModel.h"
#include "organizer/CalendarPictures.h"
#include "organizer/DayDecorations.h"
#include "organizer/ScheduleStore.h"
#include "platform/Clock.h"
#include "platform/Fonts.h"
#include "platform/Screen.h"
#include "platform/Twips.h"

namespace {
QColor ColourOf(calendar::DayColour c) {
  switch (c) {
    case calendar::DayColour::Blue:
      return QColor(0, 0, 255);
    case calendar::DayColour::Red:
      return QColor(240, 0, 0);
    case calendar::DayColour::Magenta:
      return QColor(255, 0, 255);
    default:
      return QColor(0, 0, 0);
  }
}
}  // namespace

CalendarSurface::CalendarSurface(QWidget* parent) : QWidget(parent) {
  setObjectName(QStringLiteral("Picture1"));
  QFont f = fonts::Design(fonts::Face::PGothic, 9.75, true);
  // Day numbers in exactly their colours: no blended edge pixels. Unhinted, so a face drawn bold by
  // emboldening keeps one stroke weight across the digits.
  f.setStyleStrategy(QFont::NoAntialias);
  f.setHintingPreference(QFont::PreferNoHinting);
  setFont(f);
  const QSize size(twips::ToPixels(kWidth, screen::TwipsPerPixelX()),
                   twips::ToPixels(kHeight, screen::TwipsPerPixelY()));
  setFixedSize(size);
  canvas_ = screen::SharpPixmap(size);
  canvas_.fill(Qt::white);
}

QPoint CalendarSurface::Px(int x, int y) const {
  return {twips::ToPixels(x, screen::TwipsPerPixelX()), twips::ToPixels(y, screen::TwipsPerPixelY())};
}

void CalendarSurface::PaintPicture(int index, int x, int y) {
  QPainter p(&canvas_);
  p.drawPixmap(Px(x, y), calendar_pictures::Picture(index));
}

void CalendarSurface::PrintDay(int x, int y, const QString& text) {
  QPainter p(&canvas_);
  p.setFont(font());
  p.setPen(foreColor_);
  // Two character places, the number right-aligned in them.
  const QFontMetrics fm(font());
  const QPoint at = Px(x, y);
  const QRect box(at.x(), at.y(), fm.horizontalAdvance(QStringLiteral("00")), fm.height());
  p.drawText(box, Qt::AlignRight | Qt::AlignTop, text.trimmed());
}

void CalendarSurface::DrawCalendar(int year, int month, const std::vector<const DayDecorations*>& sources) {
  const calendar::Grid grid = calendar::MonthGrid(year, month, Clock::Now());
  caption_ = QString::fromStdString(calendar::Caption(grid.year, grid.month));
  canvas_.fill(Qt::white);
  FirstWday = grid.firstWday;
  MonthDays = grid.monthDays;
  for (const calendar::DayCell& c : grid.days) {
    for (int picture : calendar::DayPictures(sources, grid.year, grid.month, c.day))
      PaintPicture(picture, c.x - 30, c.y);
    foreColor_ = ColourOf(c.colour);
    PrintDay(c.x, c.y, QStringLiteral("%1").arg(c.day, 2));
  }
  update();
  emit CaptionChanged(caption_);
}

void CalendarSurface::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawPixmap(0, 0, canvas_);
}
