// A menu item array numbered from 1: item 1 is permanent, items 2 and up are created and destroyed.
// Each item keeps its text unchanged; the menu shows it with '&' escaped and tabs made safe.
#pragma once

#include <QMenu>
#include <QString>
#include <functional>
#include <vector>

class QAction;

class MenuArray {
 public:
  // `onClick` receives the number of the chosen item.
  MenuArray(QMenu* menu, std::function<void(int)> onClick, bool checkable = false);

  QMenu* Menu() const { return menu_; }
  int Count() const { return static_cast<int>(items_.size()); }
  QAction* Item(int n) const { return items_.at(static_cast<std::size_t>(n - 1)); }

  // Creates item `Count() + 1` at the end.
  QAction* Load();
  // Destroys item n; item 1 cannot be destroyed (false).
  bool Unload(int n);

  void SetCaption(int n, const QString& text);
  QString Caption(int n) const;  // the text exactly as set
  void SetEnabled(int n, bool enabled);
  void SetChecked(int n, bool checked);

  // How a stored text is shown: a menu would take '&' as an access key and a tab as the start of the
  // shortcut column; the first tab is kept as that column (name left, number right), later ones become
  // blanks.
  static QString DisplayText(const QString& text);

 private:
  QMenu* menu_;
  std::function<void(int)> onClick_;
  bool checkable_;
  std::vector<QAction*> items_;
};
