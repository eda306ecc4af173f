#include "platform/Session.h"

#include <gtest/gtest.h>

using session::Environment;
using session::PlatformPlugin;

TEST(Session, PluginFollowsTheDesktopOnWaylandAndKeepsTheUsersChoice) {
  // GNOME and Plasma place X11 windows at the pointer and keep them on top: XWayland.
  EXPECT_EQ(PlatformPlugin({"", "wayland-0", "wayland", ":0", "GNOME"}), "xcb");
  EXPECT_EQ(PlatformPlugin({"", "wayland-0", "wayland", ":0", "ubuntu:GNOME"}), "xcb");
  EXPECT_EQ(PlatformPlugin({"", "wayland-0", "wayland", ":1", "KDE"}), "xcb");
  // Without XWayland there is no X11 to go to.
  EXPECT_EQ(PlatformPlugin({"", "wayland-0", "wayland", "", "KDE"}), "wayland");
  // wlroots desktops place neither kind: native.
  EXPECT_EQ(PlatformPlugin({"", "wayland-1", "wayland", ":0", "sway"}), "wayland");
  EXPECT_EQ(PlatformPlugin({"", "wayland-1", "", ":0", ""}), "wayland");
  EXPECT_EQ(PlatformPlugin({"", "", "wayland", ":0", "GNOME-Classic:GNOME"}), "xcb");
  // What the user set stays; an X11 session is Qt's own business.
  EXPECT_EQ(PlatformPlugin({"wayland", "wayland-0", "wayland", ":0", "GNOME"}), "");
  EXPECT_EQ(PlatformPlugin({"xcb", "wayland-1", "wayland", ":0", "sway"}), "");
  EXPECT_EQ(PlatformPlugin({"", "", "x11", ":0", "GNOME"}), "");
  EXPECT_EQ(PlatformPlugin({"", "", "", ":0", "XFCE"}), "");
}

TEST(Session, DesktopNamesAreWholeColonSeparatedWordsInAnyCase) {
  EXPECT_TRUE(session::DesktopIs("ubuntu:GNOME", "gnome"));
  EXPECT_TRUE(session::DesktopIs("kde", "KDE"));
  EXPECT_FALSE(session::DesktopIs("GNOME-Flashback", "GNOME"));
  EXPECT_FALSE(session::DesktopIs("", "GNOME"));
  EXPECT_FALSE(session::DesktopIs("KDEX", "KDE"));
}
