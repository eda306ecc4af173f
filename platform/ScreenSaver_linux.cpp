// org.freedesktop.ScreenSaver over the session bus, without ever waiting for it.
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "platform/Log.h"
#include "platform/ScreenSaver.h"

namespace screensaver {

void Wake() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return;
  const QString service = QStringLiteral("org.freedesktop.ScreenSaver");
  const QString path = QStringLiteral("/org/freedesktop/ScreenSaver");
  // Asked first whether it is active: activity on an idle desktop would only delay its saver. A
  // missing service answers with an error at once; one that never answers is given up after 5 s.
  QDBusMessage ask = QDBusMessage::createMethodCall(service, path, service, QStringLiteral("GetActive"));
  auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(ask, 5000));
  QObject::connect(
      watcher, &QDBusPendingCallWatcher::finished, watcher, [service, path](QDBusPendingCallWatcher* w) {
        const QDBusPendingReply<bool> active = *w;
        w->deleteLater();
        if (active.isError() || !active.value()) return;
        qCInfo(lcSession) << "screen saver active: asked to end for the alarm";
        QDBusMessage wake =
            QDBusMessage::createMethodCall(service, path, service, QStringLiteral("SimulateUserActivity"));
        wake.setAutoStartService(false);
        QDBusConnection::sessionBus().send(wake);  // no reply is waited for
      });
}

}  // namespace screensaver
