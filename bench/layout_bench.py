#!/usr/bin/python3
# The whole exported menu asked for at once, as a panel may: reply time and size with a phone book of
# ENTRIES entries; fails (exit 1) when the program drops off the bus or a letter left out of the whole
# menu does not come whole when asked for. Runs inside dbus-run-session.
# Usage: layout_bench.py <program> <folder>
import os
import subprocess
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "e2e"))
from sni_host import MENU_IFACE, WATCHER, Watcher, pump  # noqa: E402

program, folder = sys.argv[1], sys.argv[2]
total = int(os.environ.get("ENTRIES", "1000000"))
with open(os.path.join(folder, "dnstplus.ini"), "wb") as f:
    f.write(b"[Data]\r\nDATA1=g\r\nClipen=True\r\n")
with open(os.path.join(folder, "Teldat1.tel"), "wb") as f:
    n = 0
    for k in range(44):
        f.write(b"[D@TA]\r\n")
        per = total // 44 + (1 if k < total % 44 else 0)
        f.write(b"".join(b"entry %07d\t03-%04d-%04d\r\n" % (n + i, i % 10000, (i * 7) % 10000) for i in range(per)))
        n += per

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
watcher = Watcher(bus)
watcher.hosts.append("org.kde.StatusNotifierHost-%d" % os.getpid())
names = [dbus.service.BusName(watcher.hosts[0], bus), dbus.service.BusName(WATCHER, bus)]
prog = subprocess.Popen([os.path.join(folder, "dialnestplus")], env=dict(os.environ, QT_QPA_PLATFORM="offscreen"),
                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
t0 = time.monotonic()
if not pump(120, lambda: watcher.items):
    sys.exit("no item registered")
print("entries %d: item registered after %.0f ms" % (total, (time.monotonic() - t0) * 1000))
menu = bus.get_object(watcher.items[0], "/MenuBar")
t0 = time.monotonic()
msg = dbus.lowlevel.MethodCallMessage(watcher.items[0], "/MenuBar", MENU_IFACE, "GetLayout")
msg.append(dbus.Int32(0), dbus.Int32(-1), dbus.Array([], signature="s"), signature="iias")
reply = bus.send_message_with_reply_and_block(msg, 120000)
elapsed = (time.monotonic() - t0) * 1000
layout = reply.get_args_list()[1]
count = [0]


def walk(item):
    for c in item[2]:
        count[0] += 1
        walk(c)


walk(layout)
size = len(reply.get_args_list(byte_arrays=True).__repr__())
print("whole-menu GetLayout: %.0f ms, %d items in the reply (about %.1f MB as text)" % (elapsed, count[0], size / 1e6))
on_bus = bus.name_has_owner(watcher.items[0])
print("program still on the bus: %s" % on_bus)
if not on_bus:
    sys.exit("FAIL: the program dropped off the bus")
# A letter sent without its items comes whole when the panel opens it.
left_out = [c for row in layout[2] for c in row[2] if c[1].get("children-display") == "submenu" and not c[2]]
if left_out:
    reply = menu.GetLayout(left_out[-1][0], -1, dbus.Array([], signature="s"), dbus_interface=MENU_IFACE,
                           timeout=120)
    per = total // 44
    if len(reply[1][2]) < per:
        sys.exit("FAIL: a letter asked for alone has %d items, not %d" % (len(reply[1][2]), per))
    print("a letter left out comes whole when asked for: %d items" % len(reply[1][2]))
prog.terminate()
