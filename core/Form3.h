// The about box: title and version, and the folder the program keeps its data in.
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
  QLabel* Label3 = nullptr;         // the data folder
  QPushButton* Command2 = nullptr;  // opens it in the file manager

 protected:
  void showEvent(QShowEvent* e) override;
};
