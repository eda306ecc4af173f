// A small picture button of the organiser: shows an outline while pressed (any mouse button, and a
// double click's second press), and reports the release, which runs its action. Reachable by Tab and
// run by Space or Enter; a screen reader names it by its tool tip.
#pragma once

#include <QPixmap>
#include <QWidget>

class PictureButton : public QWidget {
  Q_OBJECT
 public:
  explicit PictureButton(QWidget* parent = nullptr);
  void SetPicture(const QPixmap& picture);
  const QPixmap& Picture() const { return picture_; }
  bool Pressed() const { return pressed_; }

 signals:
  void Released();
  void Moved();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  bool event(QEvent* e) override;

 private:
  QPixmap picture_;
  bool pressed_ = false;
};
