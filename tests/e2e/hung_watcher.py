#!/usr/bin/python3
# A StatusNotifierWatcher that takes every call and never answers one (a panel hung mid-start). The
# program must not wait on it: its event loop keeps answering. Measured by a probe that asks the
# program's command socket "ping" every 50 ms and times the answer, and by opening the quick-find window
# through the same socket while the watcher hangs.
# Usage: hung_watcher.py <program> <work folder>   (DISPLAY and XDG_RUNTIME_DIR set, inside dbus-run-session)
import hashlib
import os
import socket
import subprocess
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sni_host import PROPS, WATCHER, pump  # noqa: E402

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
program, work = sys.argv[1], sys.argv[2]


def fail(msg):
    print("FAIL: " + msg, file=sys.stderr)
    sys.exit(1)


class HungWatcher(dbus.service.Object):
    """Every method is taken and left unanswered."""

    def __init__(self):
        self.calls = []
        super().__init__(bus, "/StatusNotifierWatcher")

    @dbus.service.method(WATCHER, in_signature="s", async_callbacks=("ok", "err"))
    def RegisterStatusNotifierItem(self, service, ok, err):
        self.calls.append("RegisterStatusNotifierItem")

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v", async_callbacks=("ok", "err"))
    def Get(self, interface, prop, ok, err):
        self.calls.append("Get " + prop)

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}", async_callbacks=("ok", "err"))
    def GetAll(self, interface, ok, err):
        self.calls.append("GetAll")


watcher = HungWatcher()
name = dbus.service.BusName(WATCHER, bus)

# The program's command socket: the runtime folder and a hash of its program folder.
key = (work.rstrip("/") + "/").encode()
sock_path = os.path.join(os.environ["XDG_RUNTIME_DIR"], "dialnestplus-" + hashlib.sha1(key).hexdigest()[:16])


errors = []


def ask_once(command):
    t0 = time.monotonic()
    try:
        with socket.socket(socket.AF_UNIX, socket.SOCK_STREAM) as s:
            s.settimeout(5)
            s.connect(sock_path)
            s.sendall(command.encode() + b"\n")
            answer = s.recv(16)
            if not answer.startswith(b"ok"):
                errors.append("answer %r" % answer)
                return None
    except OSError as e:
        errors.append(str(e))
        return None
    return (time.monotonic() - t0) * 1000


def ask(command):
    """Sends one command; the milliseconds to the answer, or None when nobody answers twice running. A
    held-up event loop shows as a late answer, not as a refused connection, so one retry hides nothing."""
    ms = ask_once(command)
    return ms if ms is not None else ask_once(command)


log = open(os.path.join(work, "out.log"), "w")
prog = subprocess.Popen([program], env=dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LOGGING_RULES="dialnest.find=true"),
                        stdout=log, stderr=subprocess.STDOUT)
if not pump(20, lambda: ask("ping") is not None):
    fail("the program never answered on its command socket")
if not pump(10, lambda: watcher.calls):
    fail("the program never called the watcher")

# Six seconds with the watcher hanging (its calls time out after two), announcing a panel every second so
# the program asks again: every answer comes at once.
latencies = []
end = time.monotonic() + 6
opened = False
announced = 0
calls_before = len(watcher.calls)
while time.monotonic() < end:
    if time.monotonic() > end - 6 + announced:
        watcher.StatusNotifierHostRegistered()
        announced += 1
    ms = ask("ping")
    if ms is None:
        fail("the program stopped answering while the watcher hung: %s" % errors[-2:])
    latencies.append(ms)
    if not opened and time.monotonic() > end - 4:
        ask("find")
        opened = True
    pump(0.05)
if prog.poll() is not None:
    fail("the program ended")
worst = max(latencies)
print("watcher calls (none answered): %d, %s" % (len(watcher.calls), sorted(set(watcher.calls))))
if len(watcher.calls) <= calls_before:
    fail("the program did not call the watcher again when a panel was announced")
print("%d pings while the watcher hung: median %.1f ms, worst %.1f ms (%d tried again: %s)" %
      (len(latencies), sorted(latencies)[len(latencies) // 2], worst, len(errors), errors[:2]))
# A hung call holds the loop for its whole two-second time-out; a busy machine building the first
# window (the quick-find opened meanwhile) takes a tenth of that.
if worst > 250:
    fail("the event loop was held up %.0f ms while the watcher hung" % worst)
if not pump(5, lambda: b"window drawn" in open(os.path.join(work, "out.log"), "rb").read()):
    fail("the quick-find window opened meanwhile did not draw")
windows = subprocess.run(["xdotool", "search", "--name", "^クイック検索$"], capture_output=True, text=True).stdout.split()
if len(windows) != 1:
    fail("the quick-find window is not on screen: %s" % windows)
print("a window opened meanwhile is drawn: " + [l for l in open(os.path.join(work, "out.log")).read().splitlines()
                                                  if "window drawn" in l][0].split("dialnest.find: ")[-1])
prog.terminate()
prog.wait(10)
