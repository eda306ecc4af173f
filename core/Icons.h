// The program's small pictures, drawn in code so there is nothing to ship or load.
#pragma once

#include <QIcon>
#include <QPixmap>
#include <array>

class QPainter;

namespace icons {

// The square sizes the icon is drawn and installed at (app/CMakeLists.txt reads this line).
inline constexpr std::array kSizes{16, 22, 24, 32, 48, 64, 128, 256};

// The program's icon in painter strokes on a size x size square: the one source of the tray icon, the
// about box picture and the installed icons (SVG and PNGs).
void PaintPhoneBook(QPainter& p, double size);

QIcon TrayIcon();  // the phone book drawn at any size asked for
// Pictures of `size` logical pixels at the screen's pixel ratio.
QPixmap PhoneBook(int size);
QPixmap AlarmBell(int size);

}  // namespace icons
