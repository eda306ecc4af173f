// org.freedesktop.ScreenSaver over the session bus.
#include "platform/ScreenSaver.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>

namespace screensaver {

bool WakeIfActive() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
  if (!bus.isConnected() || !bus.interface() || !bus.interface()->isServiceRegistered(service).value())
    return false;
  QDBusInterface saver(service, QStringLiteral("/org/freedesktop/ScreenSaver"), service, bus);
  QDBusReply<bool> active = saver.call(QStringLiteral("GetActive"));
  if (!active.isValid() || !active.value()) return false;
  saver.call(QStringLiteral("SimulateUserActivity"));
  return true;
}

}  // namespace screensaver
