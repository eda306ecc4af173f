// The tray adapter: turns tray clicks into the mouse message numbers the main window handles, with the
// pointer position in pixels. One interface, one implementation per system (TrayIcon_linux: a
// StatusNotifier item or an XEmbed icon; TrayIcon_win: the notification area), made by Create.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>

class QMenu;

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMouseMove = 0x200;
  static constexpr int kLeftDown = 0x201;
  static constexpr int kLeftDouble = 0x203;
  static constexpr int kRightDown = 0x204;
  static constexpr int kMiddleDown = 0x207;

  // The tray of the system the program runs on.
  static TrayIcon* Create(const QIcon& icon, QObject* parent);

  // Puts the icon up; while no tray is available it keeps trying quietly.
  virtual void Add() = 0;
  virtual void Remove() = 0;
  virtual bool IsShown() const = 0;
  // No tray yet: trying again every two seconds.
  virtual bool WaitingForTray() const = 0;
  virtual void SetTip(const QString& tip) = 0;
  QString Tip() const { return tip_; }

  // The menu a panel shows itself (StatusNotifier); a tray that passes the right click on leaves the
  // owner to show it.
  virtual void SetMenu(QMenu* menu) = 0;
  // While not available the exported menu shows nothing and does nothing.
  virtual void SetMenuAvailable(bool available) = 0;
  // A notice the desktop keeps for a user away from the screen (the desktop's notifications on Linux,
  // a balloon from the icon on Windows); never waits for the desktop, and a desktop without
  // notifications simply shows nothing.
  virtual void Notify(const QString& title, const QString& text) = 0;

  static int MessageFor(QSystemTrayIcon::ActivationReason reason);

 signals:
  void Message(int msg, QPoint pixels);

 protected:
  using QObject::QObject;
  // A QSystemTrayIcon activation as the message numbers, at the pointer.
  void OnActivated(QSystemTrayIcon::ActivationReason reason);

  QString tip_;
};
