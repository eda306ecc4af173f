#!/usr/bin/python3
# A desktop portal offering GlobalShortcuts, as newer GNOME and Plasma desktops have it. The program runs
# as on a Wayland session (WAYLAND_DISPLAY set; its windows through XWayland, here Xvfb): it must bind its
# quick-find key here, and the portal's Activated signal must open the window.
# Usage: portal_shortcut.py <program> <work folder>   (DISPLAY and XDG_RUNTIME_DIR set, inside dbus-run-session)
import os
import subprocess
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop
from gi.repository import GLib

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sni_host import PROPS, pump  # noqa: E402

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
program, work = sys.argv[1], sys.argv[2]
PATH = "/org/freedesktop/portal/desktop"
IFACE = "org.freedesktop.portal.GlobalShortcuts"


def fail(msg):
    print("FAIL: " + msg, file=sys.stderr)
    sys.exit(1)


class Request(dbus.service.Object):
    @dbus.service.signal("org.freedesktop.portal.Request", signature="ua{sv}")
    def Response(self, response, results):
        pass


class Portal(dbus.service.Object):
    def __init__(self):
        super().__init__(bus, PATH)
        self.bound = []
        self.sessions = []

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        if interface == IFACE and prop == "version":
            return dbus.UInt32(1)
        raise dbus.exceptions.DBusException("no such property", name="org.freedesktop.DBus.Error.InvalidArgs")

    def answer(self, sender, kind, token, results):
        path = "%s/%s/%s/%s" % (PATH, kind, sender[1:].replace(".", "_"), token)
        req = Request(bus, path)
        GLib.idle_add(lambda: req.Response(dbus.UInt32(0), dbus.Dictionary(results, signature="sv")) and False)
        return dbus.ObjectPath(path)

    @dbus.service.method(IFACE, in_signature="a{sv}", out_signature="o", sender_keyword="sender")
    def CreateSession(self, options, sender=None):
        session = "%s/session/%s/%s" % (PATH, sender[1:].replace(".", "_"), options["session_handle_token"])
        self.sessions.append(session)
        return self.answer(sender, "request", options["handle_token"], {"session_handle": dbus.String(session)})

    @dbus.service.method(IFACE, in_signature="oa(sa{sv})sa{sv}", out_signature="o", sender_keyword="sender")
    def BindShortcuts(self, session, shortcuts, parent, options, sender=None):
        self.bound.append((str(session), [(str(i), {str(k): str(v) for k, v in info.items()}) for i, info in shortcuts]))
        return self.answer(sender, "request", options["handle_token"], {})

    @dbus.service.signal(IFACE, signature="osta{sv}")
    def Activated(self, session, shortcut, timestamp, options):
        pass


portal = Portal()
name = dbus.service.BusName("org.freedesktop.portal.Desktop", bus)

log = open(os.path.join(work, "out.log"), "w")
env = dict(os.environ, QT_QPA_PLATFORM="xcb", WAYLAND_DISPLAY="wayland-none",
           QT_LOGGING_RULES="dialnest.find=true;dialnest.session=true")
prog = subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT)
if not pump(20, lambda: portal.bound):
    fail("the program bound nothing through the portal")
session, shortcuts = portal.bound[0]
want = [("quick-find", {"description": "クイック検索", "preferred_trigger": "CTRL+ALT+f"})]
if shortcuts != want or session != portal.sessions[-1]:
    fail("bound %r in %s, expected %r in %s" % (shortcuts, session, want, portal.sessions))
print("bound through the portal: %r" % shortcuts)


def find_windows():
    return subprocess.run(["xdotool", "search", "--name", "^クイック検索$"], capture_output=True, text=True).stdout.split()


portal.Activated(dbus.ObjectPath(session), "something-else", dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
pump(1)
if find_windows():
    fail("another shortcut's activation opened the window")
t0 = time.monotonic()
portal.Activated(dbus.ObjectPath(session), "quick-find", dbus.UInt64(0), dbus.Dictionary({}, signature="sv"))
if not pump(10, lambda: len(find_windows()) == 1):
    fail("the portal's activation opened no window")
print("portal activation to the window on screen: %.0f ms" % ((time.monotonic() - t0) * 1000))
prog.terminate()
prog.wait(10)
print("1 passed, 0 failed")
