// The pressed look is drawn over the picture in the inverse of what lies under it.
#include "organizer/PictureButton.h"

#include <QMouseEvent>
#include <QPainter>

PictureButton::PictureButton(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
}

void PictureButton::SetPicture(const QPixmap& picture) {
  picture_ = picture;
  update();
}

void PictureButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  if (!picture_.isNull()) {
    const QSize s = picture_.deviceIndependentSize().toSize().scaled(size(), Qt::KeepAspectRatio);
    p.drawPixmap(QRect(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s), picture_);
  }
  if (pressed_) {
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p.setPen(QPen(Qt::white, 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
  }
}

void PictureButton::mousePressEvent(QMouseEvent*) {
  pressed_ = true;
  update();
}

void PictureButton::mouseDoubleClickEvent(QMouseEvent*) {
  pressed_ = true;
  update();
}

void PictureButton::mouseReleaseEvent(QMouseEvent*) {
  pressed_ = false;
  update();
  emit Released();
}

void PictureButton::mouseMoveEvent(QMouseEvent*) {
  emit Moved();
}
