// The tray popup's phone book part: the ten row menus, their 44 letter menus (each a menu item array)
// and the loading of one phone book file into them. Callers reload it with one call and hear about a
// chosen entry through a signal.
#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <memory>
#include <string>

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

  // The phone book at `path` in the letter menus (each cleared first). A file that cannot be read
  // leaves every letter with "なし" (and the log says why).
  void Reload(const std::string& path);
  // Every letter menu back to one disabled "なし".
  void Clear();
  // Starts reading the file at `path` on a thread of its own (at start-up, while the toolkit comes up);
  // the next Reload of the same path takes what it read.
  static void Preload(const std::string& path);

 signals:
  // An entry was chosen: its whole line, exactly as stored.
  void EntryChosen(const QString& line);

 private:
  std::array<std::unique_ptr<MenuArray>, kana::kLetterCount> letters_;
};
