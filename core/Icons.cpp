// A phone book (tray, about box) and a bell (alarm window) in a few painter strokes.
#include "core/Icons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "platform/Screen.h"

namespace icons {

void PaintPhoneBook(QPainter& p, double size) {
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 16.0;
  // Cover and spine.
  p.setPen(QPen(QColor(20, 40, 110), s));
  p.setBrush(QColor(40, 90, 200));
  p.drawRoundedRect(QRectF(2.5 * s, 1.5 * s, 11 * s, 13 * s), 1.5 * s, 1.5 * s);
  p.fillRect(QRectF(3 * s, 2 * s, 2 * s, 12 * s), QColor(20, 50, 140));
  // Handset on the cover.
  QPainterPath handset;
  handset.moveTo(6.5 * s, 5 * s);
  handset.cubicTo(6.5 * s, 11 * s, 12 * s, 11 * s, 12 * s, 11 * s);
  p.setPen(QPen(Qt::white, 2 * s, Qt::SolidLine, Qt::RoundCap));
  p.setBrush(Qt::NoBrush);
  p.drawPath(handset);
  // Index tabs on the edge.
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(250, 200, 40));
  p.drawRect(QRectF(13.5 * s, 3 * s, 1.5 * s, 2 * s));
  p.setBrush(QColor(230, 60, 60));
  p.drawRect(QRectF(13.5 * s, 7 * s, 1.5 * s, 2 * s));
}

namespace {

// Draws the phone book at whatever size and pixel ratio is asked for, so the tray (XEmbed or
// StatusNotifier, 16 to 64 pixels, 1x or 2x) never shows a small picture scaled up.
class PhoneBookEngine : public QIconEngine {
 public:
  void paint(QPainter* p, const QRect& r, QIcon::Mode, QIcon::State) override {
    p->save();
    const int side = std::min(r.width(), r.height());
    p->translate(QPoint(r.x() + (r.width() - side) / 2, r.y() + (r.height() - side) / 2));
    PaintPhoneBook(*p, side);
    p->restore();
  }
  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pm(size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    paint(&p, QRect(QPoint(), size), mode, state);
    return pm;
  }
  QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override {
    QList<QSize> sizes;
    for (int n : kSizes) sizes.append(QSize(n, n));
    return sizes;
  }
  QIconEngine* clone() const override { return new PhoneBookEngine; }
};

}  // namespace

QPixmap PhoneBook(int size) {
  QPixmap pm = screen::SharpPixmap(QSize(size, size));
  QPainter p(&pm);
  PaintPhoneBook(p, size);
  return pm;
}

QPixmap AlarmBell(int size) {
  QPixmap pm = screen::SharpPixmap(QSize(size, size));
  QPainter p(&pm);
  p.setRenderHint(QPainter::Antialiasing);
  const double s = size / 32.0;
  QPainterPath bell;
  bell.moveTo(16 * s, 4 * s);
  bell.cubicTo(8 * s, 4 * s, 8 * s, 14 * s, 8 * s, 18 * s);
  bell.lineTo(5 * s, 24 * s);
  bell.lineTo(27 * s, 24 * s);
  bell.lineTo(24 * s, 18 * s);
  bell.cubicTo(24 * s, 14 * s, 24 * s, 4 * s, 16 * s, 4 * s);
  p.setPen(QPen(QColor(120, 80, 0), 1.5 * s));
  p.setBrush(QColor(250, 200, 40));
  p.drawPath(bell);
  p.setBrush(QColor(120, 80, 0));
  p.drawEllipse(QPointF(16 * s, 26.5 * s), 2.5 * s, 2.5 * s);
  p.drawEllipse(QPointF(16 * s, 3.5 * s), 1.5 * s, 1.5 * s);
  return pm;
}

QIcon TrayIcon() {
  return QIcon(new PhoneBookEngine);
}

}  // namespace icons
