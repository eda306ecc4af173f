// Screen metrics and twips geometry over QScreen / QStyle.
#include "platform/Screen.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>
#include <algorithm>

#include "platform/Twips.h"

namespace screen {

double TwipsPerPixelX() {
  QScreen* s = QGuiApplication::primaryScreen();
  return twips::PerPixel(s ? s->logicalDotsPerInchX() : 96.0);
}

double TwipsPerPixelY() {
  QScreen* s = QGuiApplication::primaryScreen();
  return twips::PerPixel(s ? s->logicalDotsPerInchY() : 96.0);
}

int CaptionHeightPixels() {
  return QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
}

void PlaceTwips(QWidget* w, int left, int top, int width, int height) {
  const double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  w->setGeometry(twips::ToPixels(left, tx), twips::ToPixels(top, ty), twips::ToPixels(width, tx),
                 twips::ToPixels(height, ty));
}

void FixedSizeTwips(QWidget* w, int width, int height) {
  w->setFixedSize(twips::ToPixels(width, TwipsPerPixelX()), twips::ToPixels(height, TwipsPerPixelY()));
}

void CentreOnScreen(QWidget* w) {
  QScreen* s = QGuiApplication::primaryScreen();
  if (!s) return;
  double tx = TwipsPerPixelX(), ty = TwipsPerPixelY();
  long sw = twips::FromPixels(s->geometry().width(), tx), sh = twips::FromPixels(s->geometry().height(), ty);
  long ww = twips::FromPixels(w->frameGeometry().width(), tx),
       wh = twips::FromPixels(w->frameGeometry().height(), ty);
  // Whole twips, as the centring has always been computed.
  const long left = (sw - ww) / 2, top = (sh - wh) / 2;
  w->move(twips::ToPixels(static_cast<double>(left), tx), twips::ToPixels(static_cast<double>(top), ty));
}

QSize ClientPixels(int outerWidth, int outerHeight, int frameWidth, int frameHeight) {
  return {std::max(1, twips::ToPixels(outerWidth - frameWidth, TwipsPerPixelX())),
          std::max(1, twips::ToPixels(outerHeight - frameHeight, TwipsPerPixelY()))};
}

int FollowDrag(int outerTwips, int oldPixels, int newPixels, double twipsPerPixel) {
  if (newPixels == oldPixels) return outerTwips;
  return outerTwips + static_cast<int>(twips::FromPixels(newPixels - oldPixels, twipsPerPixel));
}

QPixmap SharpPixmap(QSize logical) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  QPixmap pm(logical * ratio);
  pm.setDevicePixelRatio(ratio);
  pm.fill(Qt::transparent);
  return pm;
}

}  // namespace screen
