// The about box: title and version.
#pragma once

#include <QWidget>

class QLabel;
class QPushButton;

class Form3 : public QWidget {
  Q_OBJECT
 public:
  explicit Form3(QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;

 protected:
  void showEvent(QShowEvent* e) override;
};
