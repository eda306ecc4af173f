// Menus whose items are made only when they are about to be shown (a phone book's letters). Whoever
// shows one, Qt's own popup or the menu exported over D-Bus, asks for its items through Populate.
#pragma once

#include <QMenu>
#include <functional>

namespace lazymenu {

// Gives `menu` the routine that makes its items; it also runs when Qt is about to show the menu.
void SetPopulate(QMenu* menu, std::function<void()> populate);
// Makes the menu's items now where it has such a routine; any other menu is left as it is.
void Populate(QMenu* menu);

}  // namespace lazymenu
