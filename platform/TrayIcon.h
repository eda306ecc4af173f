// The tray adapter: turns QSystemTrayIcon activations into the mouse message numbers the main window
// handles, with the pointer position in pixels.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTimer>

class QMenu;

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMouseMove = 0x200;
  static constexpr int kLeftDown = 0x201;
  static constexpr int kLeftDouble = 0x203;
  static constexpr int kRightDown = 0x204;
  static constexpr int kMiddleDown = 0x207;

  explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);

  // Puts the icon up; while no tray is available it keeps trying quietly.
  void Add();
  void Remove();
  bool IsShown() const;
  // No tray yet: trying again every two seconds.
  bool WaitingForTray() const { return retry_.isActive(); }
  void SetTip(const QString& tip);
  QString Tip() const;

  // A StatusNotifier host may show only the menu it was given and never pass a right click on, so there
  // the menu is handed to the tray; an XEmbed tray passes clicks on and the owner shows the menu itself.
  void SetMenu(QMenu* menu);
  // Withdraws a handed-off menu while the owner would ignore a right click.
  void SetMenuAvailable(bool available);
  bool MenuHandedOff() const { return handOff_; }
  // The menu the tray itself shows, if any.
  QMenu* TrayMenu() const { return icon_.contextMenu(); }
  void SetMenuHandOffForTest(bool on) { handOff_ = on; }

  static int MessageFor(QSystemTrayIcon::ActivationReason reason);

 signals:
  void Message(int msg, QPoint pixels);

 private:
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  void TryShow();

  QSystemTrayIcon icon_;
  QTimer retry_;
  QPointer<QMenu> menu_;
  bool wanted_ = false;
  bool handOff_ = false;
  bool menuAvailable_ = true;
};
