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
  // Shows the stored group names and the two switches as this run has them.
  Form4(const QString& clipen, const QString& topview, QWidget* parent = nullptr);

  std::array<QLineEdit*, 5> Text1{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QPushButton* Command1 = nullptr;  // OK
  QPushButton* Command2 = nullptr;  // cancel

 signals:
  // OK took the values: the group names are stored (Module1::GroupName), the switches come with it.
  void Applied(const QString& clipen, const QString& topview);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  void Ok();
};
