// The tray popup's phone book part: the ten row menus, their 44 letter menus (each a menu item array)
// and the loading of one group's file into them. Callers reload it with one call and hear about a
// chosen entry through a signal; the letter menu table (Module1::LetterMenus) is filled only while a
// load or clear runs, as the shared loaders expect.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>

#include "core/Kana.h"
#include "core/MenuArray.h"

class QMenu;

class PhoneMenu : public QObject {
  Q_OBJECT
 public:
  // Adds the row and letter menus to `popup`, each letter holding one disabled "なし".
  explicit PhoneMenu(QMenu* popup, QObject* parent = nullptr);
  ~PhoneMenu() override;

  MenuArray& LetterItems(int kanaIndex) { return *letters_.at(static_cast<std::size_t>(kanaIndex - 1)); }

  // Fills the letter menu table with the 44 item arrays in kana index order.
  void Setmnu();
  // Group `group`'s file in the letter menus (CurGroup follows); the table is empty afterwards.
  void Reload(int group);
  // Every letter menu back to one disabled "なし"; the table is empty afterwards.
  void Clear();

 signals:
  // An entry was chosen: its whole line, exactly as stored.
  void EntryChosen(const QString& line);

 private:
  std::array<std::unique_ptr<MenuArray>, kana::kLetterCount> letters_;
};
