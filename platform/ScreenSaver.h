// Waking a running screen saver so an alarm window comes into view.
#pragma once

namespace screensaver {

// Asks the desktop's screen saver (the freedesktop D-Bus service; on Windows the system's) to treat
// this as user activity when it is active. Returns at once: no answer is waited for, so a screen saver
// service that hangs never holds up the window thread.
void Wake();

}  // namespace screensaver
