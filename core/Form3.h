// The about box: title and version, and the folder the program keeps its data in.
#pragma once

#include <QWidget>

#include "core/AppContext.h"
#include "core/Module1.h"

class QLabel;
class QPushButton;

class Form3 : public QWidget {
  Q_OBJECT
 public:
  // `ctx`: the run's context, whose data folder the box shows.
  explicit Form3(AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);

  QLabel* Label1 = nullptr;
  QPushButton* Command1 = nullptr;
  QLabel* Label3 = nullptr;         // the data folder
  QPushButton* Command2 = nullptr;  // opens it in the file manager

 protected:
  void showEvent(QShowEvent* e) override;
};
