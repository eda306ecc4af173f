// QSystemTrayIcon behind the message numbers; StatusNotifier detection over D-Bus.
#include "platform/TrayIcon.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QMenu>

namespace {

// Qt itself uses a StatusNotifier item when a watcher is registered on the session bus.
bool StatusNotifierWatcherPresent() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return false;
  return bus.interface()->isServiceRegistered(QStringLiteral("org.kde.StatusNotifierWatcher")).value();
}

}  // namespace

TrayIcon::TrayIcon(const QIcon& icon, QObject* parent) : QObject(parent), icon_(icon) {
  connect(&icon_, &QSystemTrayIcon::activated, this, &TrayIcon::OnActivated);
  retry_.setInterval(2000);
  connect(&retry_, &QTimer::timeout, this, &TrayIcon::TryShow);
  handOff_ = StatusNotifierWatcherPresent();
}

int TrayIcon::MessageFor(QSystemTrayIcon::ActivationReason reason) {
  switch (reason) {
    case QSystemTrayIcon::Trigger:
      return kLeftDown;
    case QSystemTrayIcon::Context:
      return kRightDown;
    case QSystemTrayIcon::DoubleClick:
      return kLeftDouble;
    case QSystemTrayIcon::MiddleClick:
      return kMiddleDown;
    default:
      return 0;
  }
}

void TrayIcon::OnActivated(QSystemTrayIcon::ActivationReason reason) {
  int msg = MessageFor(reason);
  if (msg != 0) emit Message(msg, QCursor::pos());
}

void TrayIcon::Add() {
  wanted_ = true;
  TryShow();
}

void TrayIcon::TryShow() {
  if (!wanted_) return;
  if (!QSystemTrayIcon::isSystemTrayAvailable()) {
    if (!retry_.isActive()) retry_.start();
    return;
  }
  retry_.stop();
  icon_.show();
}

void TrayIcon::Remove() {
  wanted_ = false;
  retry_.stop();
  icon_.hide();
}

bool TrayIcon::IsShown() const {
  return icon_.isVisible();
}

void TrayIcon::SetTip(const QString& tip) {
  icon_.setToolTip(tip);
}
QString TrayIcon::Tip() const {
  return icon_.toolTip();
}

void TrayIcon::SetMenu(QMenu* menu) {
  menu_ = menu;
  SetMenuAvailable(menuAvailable_);
}

void TrayIcon::SetMenuAvailable(bool available) {
  menuAvailable_ = available;
  if (handOff_) icon_.setContextMenu(available ? menu_.data() : nullptr);
}
