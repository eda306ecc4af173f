// What every tray shares: the message numbers of Qt's activations.
#include "platform/TrayIcon.h"

#include <QCursor>

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
  const int msg = MessageFor(reason);
  if (msg != 0) emit Message(msg, QCursor::pos());
}
