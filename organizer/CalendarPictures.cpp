// Tiles are vertical shades of their colour; icons keep their drawing in the top-left 18 x 16 pixels so
// that, painted at a cell's corner, they stay inside the cell.
#include "organizer/CalendarPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <array>
#include <cmath>
#include <functional>
#include <numbers>

#include "platform/Screen.h"

namespace calendar_pictures {
namespace {

QPixmap Tile(QColor light, QColor dark) {
  QPixmap pm = screen::SharpPixmap(QSize(18, 16));
  QPainter p(&pm);
  QLinearGradient g(0, 0, 0, 16);
  g.setColorAt(0, light);
  g.setColorAt(1, dark);
  p.fillRect(QRect(0, 0, 18, 16), g);
  return pm;
}

QPixmap Icon(const std::function<void(QPainter&)>& draw) {
  QPixmap pm = screen::SharpPixmap(QSize(32, 32));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return pm;
}

QPixmap Star(QColor c) {
  return Icon([c](QPainter& p) {
    QPolygonF star;
    for (int i = 0; i < 10; ++i) {
      double r = (i % 2) ? 3.2 : 7.5, a = -std::numbers::pi / 2 + i * std::numbers::pi / 5;
      star << QPointF(9 + r * std::cos(a), 8.5 + r * std::sin(a));
    }
    p.setPen(QPen(c.darker(160), 0.8));
    p.setBrush(c);
    p.drawPolygon(star);
  });
}

QPixmap Button(const std::function<void(QPainter&)>& draw) {
  return ButtonFace(draw);
}

}  // namespace

QPixmap ButtonFace(const std::function<void(QPainter&)>& draw) {
  QPixmap pm = screen::SharpPixmap(QSize(16, 16));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  draw(p);
  return pm;
}

int ForMark(int mark) {
  static constexpr std::array<int, 8> kIndex{7, 8, 9, 10, 2, 4, 5, 6};
  return mark >= 0 && mark < 8 ? kIndex[static_cast<std::size_t>(mark)] : -1;
}

QPixmap MarkChoice(int mark) {
  const QPixmap whole = Picture(ForMark(mark));
  const qreal ratio = whole.devicePixelRatio();
  QPixmap corner = whole.copy(QRect(0, 0, qRound(18 * ratio), qRound(16 * ratio)));  // device pixels
  corner.setDevicePixelRatio(ratio);
  return corner;
}

QPixmap Picture(int index) {
  switch (index) {
    case 7:
      return Tile(QColor(255, 255, 255), QColor(200, 200, 200));
    case 8:
      return Tile(QColor(224, 255, 255), QColor(150, 230, 240));
    case 9:
      return Tile(QColor(224, 255, 224), QColor(150, 225, 150));
    case 10:
      return Tile(QColor(255, 224, 255), QColor(235, 160, 235));
    case 2:
      return Star(QColor(250, 200, 30));  // mark 4: star
    case 4:                               // mark 5: heart
      return Icon([](QPainter& p) {
        QPainterPath h;
        h.moveTo(9, 15);
        h.cubicTo(1, 9, 2, 2, 9, 5);
        h.cubicTo(16, 2, 17, 9, 9, 15);
        p.setPen(QPen(QColor(160, 20, 60), 0.8));
        p.setBrush(QColor(240, 70, 110));
        p.drawPath(h);
      });
    case 5:  // mark 6: flag
      return Icon([](QPainter& p) {
        p.setPen(QPen(QColor(60, 60, 60), 1.2));
        p.drawLine(QPointF(4, 2), QPointF(4, 15));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 160, 60));
        p.drawPolygon(QPolygonF({QPointF(4.6, 2), QPointF(15, 5), QPointF(4.6, 8.5)}));
      });
    case 6:  // mark 7: circle
      return Icon([](QPainter& p) {
        p.setPen(QPen(QColor(30, 90, 200), 2));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 8), 5.5, 5.5);
      });
    case 3:  // alarm: a small bell in the cell's lower right corner, beside the number
      return Icon([](QPainter& p) {
        QPainterPath bell;
        bell.moveTo(15.5, 9);
        bell.cubicTo(13.5, 9, 13.5, 11.5, 13.5, 12.5);
        bell.lineTo(12.5, 14.5);
        bell.lineTo(18.5, 14.5);
        bell.lineTo(17.5, 12.5);
        bell.cubicTo(17.5, 11.5, 17.5, 9, 15.5, 9);
        p.setPen(QPen(QColor(150, 100, 0), 0.7));
        p.setBrush(QColor(255, 190, 0));
        p.drawPath(bell);
        p.setBrush(QColor(150, 100, 0));
        p.drawEllipse(QPointF(15.5, 15.2), 0.9, 0.9);
      });
    case 11:  // ToDo open: a red box in the lower left corner
    case 12:  // ToDo done: a green box with a tick
      return Icon([index](QPainter& p) {
        p.setRenderHint(QPainter::Antialiasing, false);
        const bool done = index == 12;
        p.setPen(done ? QColor(20, 110, 20) : QColor(170, 20, 20));
        p.setBrush(done ? QColor(40, 170, 40) : QColor(240, 60, 60));
        p.drawRect(0, 11, 5, 5);
        if (done) {
          p.setPen(Qt::white);
          p.drawLine(1, 13, 2, 14);
          p.drawLine(2, 14, 4, 12);
        }
      });
    case 0:  // input window open: arrow towards the calendar (closes it)
    case 1:  // input window closed: arrow away from the calendar (opens it)
      return Button([index](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 70, 120));
        p.drawRect(QRectF(2, 3, 12, 10));
        p.setBrush(Qt::white);
        p.drawRect(QRectF(3, 5, 10, 7));
        p.setBrush(QColor(60, 70, 120));
        p.drawPolygon(index == 0 ? QPolygonF({QPointF(10, 6), QPointF(10, 11), QPointF(5.5, 8.5)})
                                 : QPolygonF({QPointF(6, 6), QPointF(6, 11), QPointF(10.5, 8.5)}));
      });
    default:
      return {};
  }
}

QPixmap ButtonPicture(int button) {
  switch (button) {
    case 0:  // close
      return Button([](QPainter& p) {
        p.setPen(QPen(QColor(60, 70, 120), 2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(4.5, 4.5), QPointF(11.5, 11.5));
        p.drawLine(QPointF(11.5, 4.5), QPointF(4.5, 11.5));
      });
    case 1:
      return Picture(1);
    case 2:  // next month
    case 3:  // previous month
      return Button([button](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(60, 70, 120));
        p.drawPolygon(button == 2 ? QPolygonF({QPointF(5, 3.5), QPointF(5, 12.5), QPointF(12, 8)})
                                  : QPolygonF({QPointF(11, 3.5), QPointF(11, 12.5), QPointF(4, 8)}));
      });
    default:
      return {};
  }
}

}  // namespace calendar_pictures
