// Session kind from environment variables.
#include "platform/Session.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <sstream>

namespace session {

namespace {
std::string Get(const char* name) {
  const char* v = std::getenv(name);
  return v ? v : "";
}
std::string Lower(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::tolower(c); });
  return s;
}
}  // namespace

Environment Environment::FromProcess() {
  return {Get("QT_QPA_PLATFORM"), Get("WAYLAND_DISPLAY"), Get("XDG_SESSION_TYPE"), Get("DISPLAY"),
          Get("XDG_CURRENT_DESKTOP")};
}

bool DesktopIs(const std::string& currentDesktop, const std::string& name) {
  std::istringstream names(Lower(currentDesktop));
  const std::string wanted = Lower(name);
  for (std::string n; std::getline(names, n, ':');)
    if (n == wanted) return true;
  return false;
}

std::string PlatformPlugin(const Environment& env) {
  if (!env.qtQpaPlatform.empty()) return {};
  const bool wayland = !env.waylandDisplay.empty() || env.sessionType == "wayland";
  if (!wayland) return {};
  const bool placesX11Windows =
      DesktopIs(env.currentDesktop, "GNOME") || DesktopIs(env.currentDesktop, "KDE");
  if (placesX11Windows && !env.display.empty()) return "xcb";
  return "wayland";
}

}  // namespace session
