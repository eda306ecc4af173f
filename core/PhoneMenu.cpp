// Loading one group's phone book into the ten row menus and their letter menus.
#include "core/PhoneMenu.h"

#include <QMenu>

#include "core/Module1.h"
#include "platform/QtText.h"

PhoneMenu::PhoneMenu(QMenu* popup, QObject* parent) : QObject(parent) {
  for (const kana::Row& row : kana::kRows) {
    QMenu* rowMenu = popup->addMenu(Q(row.caption));
    rowMenu->setObjectName(Q(row.name));
    for (int k = row.first; k < row.first + row.count; ++k) {
      QMenu* letterMenu = rowMenu->addMenu(Q(kana::Letter(k)));
      letterMenu->setObjectName(Q(kana::kLetterMenuNames[static_cast<std::size_t>(k - 1)]));
      auto items = std::make_unique<MenuArray>(letterMenu, [this, k](int n) {
        emit EntryChosen(letters_[static_cast<std::size_t>(k - 1)]->Caption(n));
      });
      items->SetCaption(1, QStringLiteral("なし"));
      items->SetEnabled(1, false);
      letters_[static_cast<std::size_t>(k - 1)] = std::move(items);
    }
  }
}

PhoneMenu::~PhoneMenu() {
  Module1::EmptyMenuTable();
}

void PhoneMenu::Setmnu() {
  for (int k = 1; k <= kana::kLetterCount; ++k)
    Module1::LetterMenus[static_cast<std::size_t>(k)] = letters_[static_cast<std::size_t>(k - 1)].get();
}

void PhoneMenu::Reload(int group) {
  Setmnu();
  Module1::ClearPhoneMenus();
  Module1::LoadPhoneMenus(group);
  Module1::EmptyMenuTable();
}

void PhoneMenu::Clear() {
  Setmnu();
  Module1::ClearPhoneMenus();
  Module1::EmptyMenuTable();
}
