#!/usr/bin/python3
# A StatusNotifier panel of the test's own on a private session bus: a watcher and a host that come up
# three seconds after the program, then read the item and its menu and use them as a panel would.
# Usage: sni_panel.py <program> <work folder>   (DISPLAY set, inside dbus-run-session)
import os
import subprocess
import sys
import time

import dbus
import dbus.service
from dbus.mainloop.glib import DBusGMainLoop

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sni_host import ITEM_IFACE, MENU_IFACE, PROPS, WATCHER, Watcher, labels, pump  # noqa: E402

DBusGMainLoop(set_as_default=True)
bus = dbus.SessionBus()
program, work = sys.argv[1], sys.argv[2]
failures = []


def fail(msg):
    print("FAIL: " + msg, file=sys.stderr)
    sys.exit(1)


def windows(name):
    r = subprocess.run(["xdotool", "search", "--name", name], capture_output=True, text=True)
    return r.stdout.split()


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True).stdout


env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LOGGING_RULES="dialnest.tray=true")
log = open(os.path.join(work, "out.log"), "w")
prog = subprocess.Popen([program], env=env, stdout=log, stderr=subprocess.STDOUT)

# Autostart at login: the program is up before the panel.
pump(3)
if prog.poll() is not None:
    fail("the program ended without a panel")
early = [n for n in bus.list_names() if str(n).startswith("org.kde.StatusNotifierItem-")]
if early:
    fail("an item was on the bus before any panel: %s" % early)
watcher = Watcher(bus)
watcher.reply_delay_ms = 3000  # a shell still starting up: the program waits, no other tray meanwhile
watcher.hosts.append("org.kde.StatusNotifierHost-%d" % os.getpid())
bus_name_host = dbus.service.BusName(watcher.hosts[0], bus)
t0 = time.monotonic()
bus_name = dbus.service.BusName(WATCHER, bus)
watcher.StatusNotifierHostRegistered()
if not pump(10, lambda: watcher.items):
    fail("no item registered after the panel came up")
print("panel up to item registered: %d ms" % ((time.monotonic() - t0) * 1000))
service = watcher.items[0]
if not pump(10, lambda: "StatusNotifier host" in open(os.path.join(work, "out.log"), errors="replace").read()):
    fail("the program did not take the late answer to its registration")
pump(1)
if watcher.registrations != [service]:
    fail("another item while the registration was unanswered: %s" % watcher.registrations)
print("a registration answered after %d ms is taken, with no other tray meanwhile" % watcher.reply_delay_ms)
watcher.reply_delay_ms = 0

# A watcher that drops the item while setting it up (GNOME's extension does when its set-up races with
# its own watch of the item's name): the program notices it is no longer listed and registers again, by
# the item's path this time, which such a watcher sets up without watching a name.
watcher.items.remove(service)
t0 = time.monotonic()
if not pump(10, lambda: watcher.items):
    fail("the program did not register again with a watcher that dropped its item")
listed = watcher.items[0]
if watcher.registrations != [service, "/StatusNotifierItem"]:
    fail("registrations: %s" % watcher.registrations)
if listed != bus.get_name_owner(service) + "/StatusNotifierItem":
    fail("listed as %s" % listed)
print("an item the watcher dropped is registered again by its path after %d ms" % ((time.monotonic() - t0) * 1000))
pump(4)
if watcher.registrations != [service, "/StatusNotifierItem"]:
    fail("registered again while listed: %s" % watcher.registrations)

item = bus.get_object(service, "/StatusNotifierItem")
props = item.GetAll(ITEM_IFACE, dbus_interface=PROPS)
if props["Title"] != "Dialnest Plus" or props["Status"] != "Active" or props["Id"] != "dialnestplus":
    fail("item properties: %s" % {k: props[k] for k in ("Title", "Status", "Id")})
if props["ItemIsMenu"] or props["Menu"] != "/MenuBar":
    fail("menu properties: %s %s" % (props["ItemIsMenu"], props["Menu"]))
sizes = sorted((int(w), int(h), len(px)) for w, h, px in props["IconPixmap"])
if not sizes or any(len_ != w * h * 4 for w, h, len_ in sizes) or sizes[-1][0] < 32:
    fail("icon pictures: %s" % sizes)
if str(props["ToolTip"][2]) != "Dialnest Plus":
    fail("tool tip: %s" % props["ToolTip"])
print("item: %s, icons %s" % (service, [s[0] for s in sizes]))

menu = bus.get_object(service, "/MenuBar")
updates = []
bus.add_signal_receiver(lambda rev, parent: updates.append(int(rev)), "LayoutUpdated", MENU_IFACE,
                        path="/MenuBar")


def layout():
    rev, root = menu.GetLayout(0, -1, dbus.Array([], signature="s"), dbus_interface=MENU_IFACE)
    return dict(labels(root)), root


def click(cid):
    menu.Event(cid, "clicked", dbus.String("", variant_level=1), dbus.UInt32(0), dbus_interface=MENU_IFACE)


ids, root = layout()
entry = ids.get(("あ行(_A)", "あ", "taro__kato@example.jp"))
about = ids.get(("ﾍﾙﾌﾟ(_E)", "ﾊﾞｰｼﾞｮﾝ情報(_A)..."))
editor = ids.get(("番号登録(_I)...",))
quit_ = ids.get(("終了(_Q)",))
if None in (entry, about, editor, quit_):
    fail("menu layout lacks an item: %s" % sorted(ids)[:40])
print("menu: %d items, the entry labelled taro__kato@example.jp" % len(ids))

click(entry)
if not pump(5, lambda: clipboard() == b"taro_kato@example.jp"):
    fail("clipboard holds %r after clicking the entry" % clipboard())
print("clicking the entry copies it exactly")

# Every call gets an answer at once: a value, the protocol's default, or an error.
t0 = time.monotonic()
if not bool(menu.GetProperty(entry, "enabled", dbus_interface=MENU_IFACE, timeout=2)):
    fail("GetProperty of an unset 'enabled' is not the default true")
for cid, prop in ((99999, "label"), (entry, "no-such-property")):
    try:
        menu.GetProperty(cid, prop, dbus_interface=MENU_IFACE, timeout=2)
        fail("GetProperty(%d, %s) answered a value" % (cid, prop))
    except dbus.exceptions.DBusException as e:
        if "InvalidArgs" not in e.get_dbus_name():
            fail("GetProperty(%d, %s): %s" % (cid, prop, e.get_dbus_name()))
print("GetProperty answers every call (%d ms for three)" % ((time.monotonic() - t0) * 1000))

# Clicks sent as an event group, as some panels do; the unknown ids come back.
subprocess.run(["xclip", "-selection", "clipboard"], input=b"marker")
# xclip takes the selection from a process of its own: only once it holds it is the stage set.
if not pump(5, lambda: clipboard() == b"marker"):
    fail("xclip did not take the clipboard")
none = dbus.String("", variant_level=1)
unknown = menu.EventGroup(dbus.Array([(99998, "clicked", none, dbus.UInt32(0)), (entry, "clicked", none, dbus.UInt32(0))],
                                     signature="(isvu)"), dbus_interface=MENU_IFACE)
if list(unknown) != [99998]:
    fail("EventGroup answered %s" % list(unknown))
if not pump(5, lambda: clipboard() == b"taro_kato@example.jp"):
    fail("EventGroup did not choose the entry: clipboard %r" % clipboard())
print("EventGroup chooses the entry and names the unknown id")

# Another program takes the clipboard after the program's last X event: a choice from the panel (no X
# event of its own) must still land, and X programs read it.
for attempt in range(3):
    pump(1)
    subprocess.run(["xclip", "-selection", "clipboard"], input=b"taken later")
    if not pump(5, lambda: clipboard() == b"taken later"):
        fail("xclip did not take the clipboard")
    click(entry)
    if not pump(5, lambda: clipboard() == b"taro_kato@example.jp"):
        fail("after another program took the clipboard, the entry did not land: %r" % clipboard())
print("a choice lands after another program took the clipboard")


# A flood of clicks on the postal search with no postal list: one message box, a live program.
postal = ids.get(("ｵﾌﾟｼｮﾝ(_O)", "郵便番号・住所 検索(_P)..."))
for _ in range(1000):
    menu.Event(postal, "clicked", none, dbus.UInt32(0), dbus_interface=MENU_IFACE, ignore_reply=True)


def message_boxes():
    return subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Dialnest Plus$"], capture_output=True,
                          text=True).stdout.split()


# A loaded machine may take a while to work through the clicks, and a box being laid out may be
# unmapped for a moment: wait until one box has stayed up for a second.
def one_box_settled():
    return len(message_boxes()) == 1 and not pump(1, lambda: len(message_boxes()) != 1)


pump(20, one_box_settled)
if prog.poll() is not None:
    fail("the program ended under 1,000 clicks on the postal search")
boxes = message_boxes()
if len(boxes) != 1:
    if os.environ.get("DN_SHOTS"):
        subprocess.run(["import", "-window", "root", os.path.join(os.environ["DN_SHOTS"], "sni-postal.png")])
        subprocess.run(["sh", "-c", "xwininfo -root -tree > '%s'" % os.path.join(os.environ["DN_SHOTS"], "sni-tree.txt")])
    fail("%d message boxes after 1,000 clicks on the postal search" % len(boxes))
subprocess.run(["xdotool", "windowactivate", "--sync", boxes[0], "key", "Return"], capture_output=True)
subprocess.run(["xdotool", "key", "--window", boxes[0], "Return"], capture_output=True)
if not pump(10, lambda: not subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Dialnest Plus$"],
                                           capture_output=True, text=True).stdout.split()):
    fail("the message box did not close")
print("1,000 clicks on the postal search: at most one message box, the program lives")

# The quick-find item at the top of the menu opens its window; Esc is not needed: a second click
# brings the same window to the front, never a second one.
find_item = ids.get(("クイック検索(_F)...",))
if find_item is None or int(root[2][0][0]) != find_item:
    fail("the quick-find item is not the first of the menu")
click(find_item)
if not pump(5, lambda: len(windows("^クイック検索$")) == 1):
    fail("the quick-find item opened no window")
click(find_item)
pump(1)
if len(windows("^クイック検索$")) != 1:
    fail("a second click made another quick-find window")
subprocess.run(["xdotool", "search", "--name", "^クイック検索$", "windowfocus", "key", "Escape"],
               capture_output=True)
if not pump(5, lambda: not windows("^クイック検索$")):
    fail("Esc did not close the quick-find window")
print("the quick-find item opens one window, Esc closes it")

before = len(updates)
click(about)
if not pump(10, lambda: windows("のﾊﾞｰｼﾞｮﾝ情報")):
    fail("the about box did not open")
pump(5, lambda: len(updates) > before)
ids_open, root_open = layout()
if root_open[2]:
    fail("the menu still shows %d items while the about box is open" % len(root_open[2]))
for cid in (editor, about, entry):
    click(cid)
subprocess.run(["xclip", "-selection", "clipboard"], input=b"marker")
click(entry)
pump(1.5)
if windows("新規登録") or len(windows("のﾊﾞｰｼﾞｮﾝ情報")) != 1 or clipboard() != b"marker":
    fail("the menu acted while the about box was open: editors %s, about boxes %s, clipboard %r" %
         (windows("新規登録"), windows("のﾊﾞｰｼﾞｮﾝ情報"), clipboard()))
print("while the about box is open the menu is empty and inert")

# OK on the about box; with no window manager the click itself gives the focus.
win = windows("のﾊﾞｰｼﾞｮﾝ情報")[0]
geo = dict(l.split("=") for l in subprocess.run(["xdotool", "getwindowgeometry", "--shell", win],
                                                 capture_output=True, text=True).stdout.split())
subprocess.run(["xdotool", "mousemove", str(int(geo["X"]) + 114), str(int(geo["Y"]) + 64), "click", "1"])
if not pump(10, lambda: not windows("のﾊﾞｰｼﾞｮﾝ情報")):
    fail("the about box did not close")
pump(5, lambda: len(layout()[1][2]) > 0)
if len(layout()[1][2]) != len(root[2]):
    fail("the menu did not come back after the about box")
print("the menu comes back when the about box closes")

# A left click on the icon: the organiser with its lower right corner at the click.
item.Activate(dbus.Int32(600), dbus.Int32(500), dbus_interface=ITEM_IFACE)


def organiser():
    tree = subprocess.run(["xwininfo", "-root", "-tree"], capture_output=True, text=True).stdout
    for line in tree.splitlines():
        if '("dialnestplus" "Dialnest Plus")' in line and "191x158" in line:
            return line.split()[-1]
    return None


if not pump(10, organiser):
    fail("no organiser after Activate")
where = organiser()
if where != "+409+342":
    fail("organiser at %s, expected its lower right corner at 600,500" % where)
if layout()[1][2]:
    fail("the menu is not empty while the organiser is open")
print("Activate opens the organiser at the click, the menu empty meanwhile")
subprocess.run(["xdotool", "mousemove", str(409 + 2565 // 15 + 8), str(342 + 75 // 15 + 8)])
pump(0.2)
subprocess.run(["xdotool", "mousemove", str(409 + 2565 // 15 + 9), str(342 + 75 // 15 + 8), "click", "1"])
if not pump(10, lambda: organiser() is None):
    fail("the organiser did not close")
pump(5, lambda: len(layout()[1][2]) > 0)

click(quit_)
if not pump(10, lambda: prog.poll() is not None):
    fail("still running after 終了")
if prog.returncode != 0:
    fail("exit status %d" % prog.returncode)
if not pump(5, lambda: listed in watcher.unregistered):
    fail("the item did not go away")
print("終了 ends the program and the item goes away")
print("1 passed, 0 failed")
