// Starting the program at login: the user's XDG autostart entry on Linux, the user's Run key on
// Windows. The entry itself is the setting (nothing is kept in the settings file), so removing it by
// hand, or with the desktop's own startup settings, switches it off here too.
#pragma once

#include <QString>

namespace autostart {

// True when the login entry exists and is not switched off (Hidden=true).
bool Enabled();
// Writes the entry for the running program (`on`) or removes it; false, with the reason in `error`,
// when that could not be done.
bool Set(bool on, QString* error = nullptr);
// Where the entry is: the autostart file, or the registry value's name.
QString Location();

}  // namespace autostart
