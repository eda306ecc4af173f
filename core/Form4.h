// The settings dialog: five group names and the two switches.
#pragma once

#include <QWidget>
#include <array>

class QCheckBox;
class QLineEdit;
class QPushButton;

class Form4 : public QWidget {
  Q_OBJECT
 public:
  explicit Form4(QWidget* parent = nullptr);

  std::array<QLineEdit*, 5> Text1{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QPushButton* Command1 = nullptr;  // OK
  QPushButton* Command2 = nullptr;  // cancel

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Ok();
};
