// The Linux desktops' tray: a panel that speaks StatusNotifier gets the icon and the menu over D-Bus,
// whenever it comes up; otherwise an XEmbed tray gets a QSystemTrayIcon.
#pragma once

#include <QTimer>
#include <memory>

#include "platform/TrayIcon.h"

namespace sni {
class StatusNotifierTray;
}

class SessionTray final : public TrayIcon {
  Q_OBJECT
 public:
  SessionTray(const QIcon& icon, QObject* parent);
  ~SessionTray() override;

  void Add() override;
  void Remove() override;
  bool IsShown() const override;
  // No tray yet: trying again every two seconds (and whenever a StatusNotifier host appears).
  bool WaitingForTray() const override { return retry_.isActive(); }
  void SetTip(const QString& tip) override;
  void SetMenu(QMenu* menu) override;
  void SetMenuAvailable(bool available) override;
  void Notify(const QString& title, const QString& text) override;
  sni::StatusNotifierTray* StatusNotifier() const { return sni_.get(); }

 private:
  void TryShow();
  void FromStatusNotifier(int msg, QPoint pixels);

  QIcon image_;
  // Made only when an XEmbed tray is wanted: Qt settles the kind of its tray icon once, when the first
  // one is made, and would pick StatusNotifier if a panel host were up at that moment.
  std::unique_ptr<QSystemTrayIcon> xembed_;
  std::unique_ptr<sni::StatusNotifierTray> sni_;
  QTimer retry_;
  bool wanted_ = false;
};
