// Waking a running screen saver so an alarm window comes into view.
#pragma once

namespace screensaver {

// Asks the desktop's screen saver service (freedesktop D-Bus interface) to treat this as user activity
// when it is active. Returns whether a running screen saver was asked to end; false where no service is.
bool WakeIfActive();

}  // namespace screensaver
