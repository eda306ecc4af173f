// The pressed look is drawn over the picture in the inverse of what lies under it.
#include "organizer/PictureButton.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace {
// A screen reader meets it as a button, named by its tip.
QAccessibleInterface* AsButton(const QString& key, QObject* object) {
  auto* w = qobject_cast<QWidget*>(object);
  return key == QLatin1String("PictureButton") && w ? new QAccessibleWidget(w, QAccessible::Button) : nullptr;
}
}  // namespace

PictureButton::PictureButton(QWidget* parent) : QWidget(parent) {
  static const bool factory = [] {
    QAccessible::installFactory(AsButton);
    return true;
  }();
  (void)factory;
  setMouseTracking(true);
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::TabFocus);
}

bool PictureButton::event(QEvent* e) {
  if (e->type() == QEvent::ToolTipChange) setAccessibleName(toolTip());
  return QWidget::event(e);
}

void PictureButton::keyPressEvent(QKeyEvent* e) {
  if (e->isAutoRepeat() ||
      (e->key() != Qt::Key_Space && e->key() != Qt::Key_Return && e->key() != Qt::Key_Enter)) {
    QWidget::keyPressEvent(e);
    return;
  }
  emit Released();
}

void PictureButton::focusInEvent(QFocusEvent* e) {
  QWidget::focusInEvent(e);
  update();
}

void PictureButton::focusOutEvent(QFocusEvent* e) {
  QWidget::focusOutEvent(e);
  update();
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
  if (hasFocus()) {  // where the keyboard is
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    p.drawRect(rect().adjusted(1, 1, -2, -2));
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
