// The X11 side of the clipboard: whether this program really owns the CLIPBOARD selection, and a fresh
// X server time for Qt. Qt stamps the selection with the time of the last X event it saw; a choice
// made over D-Bus (a StatusNotifier panel's menu) brings no X event, and a program that took the
// clipboard after that time refuses the older stamp, while Qt still answers with the text it meant to
// set.
#pragma once

#include <functional>

namespace x11selection {
// True on an X11 display (the xcb plugin).
bool Available();
// Whether one of this program's windows owns the CLIPBOARD selection on the X server.
bool OwnedByUs();
// Brings Qt a fresh server time (a property change on a window of our own), then runs `then` from the
// event loop; `then` also runs when no time comes within half a second.
void RefreshTimeThen(std::function<void()> then);
}  // namespace x11selection
