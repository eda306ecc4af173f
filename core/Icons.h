// The program's small pictures, drawn in code so there is nothing to ship or load.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace icons {

QIcon TrayIcon();  // phone book: 16 and 32 pixels
QPixmap PhoneBook(int size);
QPixmap AlarmBell(int size);

}  // namespace icons
