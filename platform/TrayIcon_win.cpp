// The Windows notification area (Shell_NotifyIcon, through QSystemTrayIcon). The explorer's taskbar may
// come up after the program (at sign-in) or restart; Qt puts the icon back when the taskbar is made
// again, and until a tray exists the icon is tried every two seconds.
#include <QTimer>

#include "platform/TrayIcon.h"

namespace {
class NotificationAreaTray final : public TrayIcon {
 public:
  NotificationAreaTray(const QIcon& icon, QObject* parent) : TrayIcon(parent), icon_(icon, this) {
    retry_.setInterval(2000);
    connect(&retry_, &QTimer::timeout, this, &NotificationAreaTray::TryShow);
    connect(&icon_, &QSystemTrayIcon::activated, this, &NotificationAreaTray::OnActivated);
  }

  void Add() override {
    wanted_ = true;
    TryShow();
  }
  void Remove() override {
    wanted_ = false;
    retry_.stop();
    icon_.hide();
  }
  bool IsShown() const override { return icon_.isVisible(); }
  bool WaitingForTray() const override { return retry_.isActive(); }
  void SetTip(const QString& tip) override {
    tip_ = tip;
    icon_.setToolTip(tip);
  }
  // The right click comes to the owner, which shows the menu itself at the pointer.
  void SetMenu(QMenu*) override {}
  void SetMenuAvailable(bool) override {}
  void Notify(const QString& title, const QString& text) override {
    if (icon_.isVisible()) icon_.showMessage(title, text, QSystemTrayIcon::Information, 30000);
  }

 private:
  void TryShow() {
    if (!wanted_) return;
    if (!QSystemTrayIcon::isSystemTrayAvailable()) {
      if (!retry_.isActive()) retry_.start();
      return;
    }
    retry_.stop();
    icon_.show();
  }

  QSystemTrayIcon icon_;
  QTimer retry_;
  bool wanted_ = false;
};
}  // namespace

TrayIcon* TrayIcon::Create(const QIcon& icon, QObject* parent) {
  return new NotificationAreaTray(icon, parent);
}
