// A barrier on the bus for negative checks against a test's own D-Bus peer, instead of a sleep.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>

#include "testsupport/QtHelpers.h"

// Returns once `service` has handled every message this process sent it on `bus` before the call, and
// this process has handled every answer that came before: two round trips, since handling an answer may
// send again.
// `interface` and `member` name a call the peer answers (a virtual object may not introspect).
inline bool DBusPeerCaughtUp(const QDBusConnection& bus, const QString& service, const QString& path,
                             const QString& interface = QStringLiteral("org.freedesktop.DBus.Introspectable"),
                             const QString& member = QStringLiteral("Introspect")) {
  for (int trip = 0; trip < 2; ++trip) {
    const QDBusPendingCall call =
        bus.asyncCall(QDBusMessage::createMethodCall(service, path, interface, member));
    if (!QTest::qWaitFor([&call] { return call.isFinished(); }, 5000)) return false;
    if (!PostedEventsHandled()) return false;
  }
  return true;
}
