// A menu item array numbered from 1: item 1 is permanent, items 2 and up are created and destroyed.
// Each item keeps its text unchanged; the menu shows it with '&' escaped and tabs made safe.
// The items are held as texts and states; the menu's actions are made when it is about to be shown (or
// an action is asked for), so a phone book of any size loads without building a menu it may never show.
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
  // The action of item n, the menu's actions made first if they are not.
  QAction* Item(int n);

  // Creates item `Count() + 1` at the end.
  void Load();
  // Destroys item n; item 1 cannot be destroyed (false). Back to item 1 alone, the menu's actions go.
  bool Unload(int n);

  // Items 1 to captions.size() take these captions, enabled; items are made as needed.
  void Fill(std::vector<QString> captions);
  void SetCaption(int n, const QString& text);
  QString Caption(int n) const;  // the text exactly as set
  void SetEnabled(int n, bool enabled);
  void SetChecked(int n, bool checked);
  bool Built() const { return built_; }

  // How a stored text is shown: a menu would take '&' as an access key and a tab as the start of the
  // shortcut column; the first tab is kept as that column (name left, number right), later ones become
  // blanks.
  static QString DisplayText(const QString& text);

 private:
  struct Entry {
    QString caption;
    bool enabled = true;
    bool checked = false;
  };
  void Build();
  void Unbuild();
  QAction* MakeAction(const Entry& e);
  QAction* Built(int n) const { return built_ ? actions_[static_cast<std::size_t>(n - 1)] : nullptr; }

  QMenu* menu_;
  std::function<void(int)> onClick_;
  bool checkable_;
  std::vector<Entry> items_;
  std::vector<QAction*> actions_;  // one per item while built
  bool built_ = false;
};
