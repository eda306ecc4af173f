// What kind of desktop session the program runs in, read from the environment before Qt starts.
#pragma once

#include <string>

namespace session {

// The variables that tell the session apart.
struct Environment {
  std::string qtQpaPlatform;   // QT_QPA_PLATFORM
  std::string waylandDisplay;  // WAYLAND_DISPLAY
  std::string sessionType;     // XDG_SESSION_TYPE
  std::string display;         // DISPLAY (XWayland on a Wayland session)
  std::string currentDesktop;  // XDG_CURRENT_DESKTOP, e.g. "ubuntu:GNOME" or "KDE"

  static Environment FromProcess();
};

// The Qt platform plugin the program asks for, or empty to leave the choice to Qt. On a Wayland session
// GNOME and KDE Plasma let an X11 window (through XWayland) open at the tray pointer and stay on top,
// which a Wayland window may not ask for; elsewhere (wlroots desktops) the native plugin does as well as
// X11 and copies the same way. A plugin the user set is always kept.
std::string PlatformPlugin(const Environment& env);

// Whether XDG_CURRENT_DESKTOP names this desktop (one of its colon-separated names, any case).
bool DesktopIs(const std::string& currentDesktop, const std::string& name);

}  // namespace session
