# A StatusNotifier watcher and host of the tests' own, and reading an exported menu: shared by the
# end-to-end drivers.
import time

import dbus
import dbus.service
from gi.repository import GLib

WATCHER = "org.kde.StatusNotifierWatcher"
ITEM_IFACE = "org.kde.StatusNotifierItem"
MENU_IFACE = "com.canonical.dbusmenu"
PROPS = "org.freedesktop.DBus.Properties"


def pump(seconds, until=lambda: False):
    """Runs the D-Bus main loop until `until()` holds or the time is up; returns its last value."""
    loop = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if until():
            return True
        loop.iteration(False)
        time.sleep(0.01)
    return until()


class Watcher(dbus.service.Object):
    def __init__(self, bus):
        self.items = []
        self.hosts = []
        self.unregistered = []
        self.registrations = []  # the argument of every RegisterStatusNotifierItem call, repeated ones too
        super().__init__(bus, "/StatusNotifierWatcher")
        bus.add_signal_receiver(self.owner_changed, "NameOwnerChanged", "org.freedesktop.DBus")

    def owner_changed(self, name, old, new):
        if new:
            return
        for key in [k for k in self.items if k == name or k.startswith(name + "/")]:
            self.items.remove(key)
            self.unregistered.append(key)
            self.StatusNotifierItemUnregistered(key)

    reply_delay_ms = 0  # GNOME's extension answers a registration only once the shell has started

    @dbus.service.method(WATCHER, in_signature="s", sender_keyword="sender", async_callbacks=("ok", "err"))
    def RegisterStatusNotifierItem(self, service, sender=None, ok=None, err=None):
        # By name, or by path on the caller's connection (listed as KDE's watcher does: connection + path).
        name = sender + service if service.startswith("/") else service
        self.registrations.append(str(service))
        if name not in self.items:
            self.items.append(name)
            self.StatusNotifierItemRegistered(name)
        if self.reply_delay_ms:
            GLib.timeout_add(self.reply_delay_ms, lambda: ok() and False)
        else:
            ok()

    @dbus.service.method(WATCHER, in_signature="s")
    def RegisterStatusNotifierHost(self, service):
        self.hosts.append(service)
        self.StatusNotifierHostRegistered()

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemRegistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="s")
    def StatusNotifierItemUnregistered(self, service):
        pass

    @dbus.service.signal(WATCHER, signature="")
    def StatusNotifierHostRegistered(self):
        pass

    @dbus.service.method(PROPS, in_signature="ss", out_signature="v")
    def Get(self, interface, prop):
        return self.GetAll(interface)[prop]

    @dbus.service.method(PROPS, in_signature="s", out_signature="a{sv}")
    def GetAll(self, interface):
        return {"RegisteredStatusNotifierItems": dbus.Array(self.items, signature="s"),
                "IsStatusNotifierHostRegistered": dbus.Boolean(bool(self.hosts)),
                "ProtocolVersion": dbus.Int32(0)}


def labels(item, path=()):
    """Every (label path, id) of a layout."""
    out = []
    for child in item[2]:
        cid, props = int(child[0]), child[1]
        label = str(props.get("label", "-" if props.get("type") == "separator" else ""))
        out.append((path + (label,), cid))
        out.extend(labels(child, path + (label,)))
    return out
