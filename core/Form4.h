// The settings dialog: five group names, the two switches, the quick-find key and starting at login.
#pragma once

#include <QWidget>

#include <array>
#include "core/AppContext.h"
#include "core/IniFile.h"
#include "core/Module1.h"
#include "core/PhoneBookFile.h"
#include "core/Settings.h"

class QCheckBox;
class QKeySequenceEdit;
class QLabel;
class QLineEdit;
class QPushButton;

class Form4 : public QWidget {
  Q_OBJECT
 public:
  // The values this run has besides the group names.
  struct Values {
    settings::Switch clipen;
    settings::Switch topview;
    QString findKey;         // portable text; empty: off
    QString findKeyProblem;  // why the shortcut does not work here, or empty
  };
  // Shows the stored group names and `values`.
  // `ctx`: the run's context (its group names and settings file).
  explicit Form4(const Values& values, AppContext& ctx = Module1::Context(), QWidget* parent = nullptr);

  std::array<QLineEdit*, phonebook::kGroups> Text1{};
  QCheckBox* Check1 = nullptr;
  QCheckBox* Check2 = nullptr;
  QCheckBox* Check3 = nullptr;        // the quick-find shortcut on
  QKeySequenceEdit* Text2 = nullptr;  // its key
  QLabel* Label2 = nullptr;           // why it does not work here
  QCheckBox* Check4 = nullptr;        // start at login
  QPushButton* Command1 = nullptr;    // OK
  QPushButton* Command2 = nullptr;    // cancel

 signals:
  // OK took the values: the group names are stored in the session, the rest comes with it.
  void Applied(const Form4::Values& values);

 protected:
  void showEvent(QShowEvent* e) override;

 private:
  AppContext& ctx_;
  void Ok();
  QString storedFindKey_;
  // The values as the dialog showed them, in the order Entered gives.
  IniFile::KeyValues shown_;
  IniFile::KeyValues Entered() const;
};
