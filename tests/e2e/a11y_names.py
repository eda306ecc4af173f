#!/usr/bin/python3
# What a screen reader hears: the organiser's picture buttons read through the accessibility bus
# (AT-SPI), each named as its tip says. Usage: a11y_names.py <program> <work folder>
#   (DISPLAY set, inside dbus-run-session)
import os
import subprocess
import sys
import time

import pyatspi

program, work = sys.argv[1], sys.argv[2]
with open(os.path.join(work, "dnstplus.ini"), "wb") as f:
    f.write(b"[Data]\r\nDATA1=g\r\nClipen=True\r\n")
env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_ACCESSIBILITY="1")
log = open(os.path.join(work, "out.log"), "w")
prog = subprocess.Popen([program], env=env, stdout=log,
                        stderr=subprocess.STDOUT)


def fail(msg):
    print("FAIL: " + msg, file=sys.stderr)
    prog.terminate()
    sys.exit(1)


def app():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        a = desktop.getChildAtIndex(i)
        if a is not None and a.name in ("dialnestplus", "Dialnest Plus"):
            return a
    return None


def names(node, out, depth=0):
    if node is None or depth > 30:
        return
    try:
        if node.getRoleName() in ("push button", "button", "toggle button") and node.name:
            out.append(node.name)
        for i in range(node.childCount):
            names(node.getChildAtIndex(i), out, depth + 1)
    except Exception:  # a node that went away while it was read
        pass


end = time.monotonic() + 20
while time.monotonic() < end and app() is None:
    time.sleep(0.2)
if app() is None:
    fail("the program is not on the accessibility bus")

# Open the organiser: a left click on the tray icon.
tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
icon = [l for l in tree.splitlines() if '("dialnestplus" "Dialnest Plus")' in l and ("22x22" in l or "24x24" in l)]
if not icon:
    fail("no tray icon")
x, y = (int(v) for v in icon[0].split()[-1].lstrip("+").split("+"))
subprocess.run(["xdotool", "mousemove", str(x + 10), str(y + 12), "click", "1"])

heard = []
end = time.monotonic() + 20
want = {"閉じる", "入力ウィンドウを開く", "次の月へ", "前の月へ"}
while time.monotonic() < end:
    heard = []
    names(app(), heard)
    if want <= set(heard):
        break
    time.sleep(0.3)
missing = want - set(heard)
if missing:
    fail("the accessibility bus names no button %s (heard %s)" % (sorted(missing), heard))
print("the organiser's picture buttons as a screen reader hears them: %s" % sorted(want))
prog.terminate()
print("1 passed, 0 failed")
