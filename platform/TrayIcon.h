// The tray adapter: turns tray clicks into the mouse message numbers the main window handles, with the
// pointer position in pixels. A panel that speaks StatusNotifier gets the icon and the menu over D-Bus,
// whenever it comes up; otherwise an XEmbed tray gets a QSystemTrayIcon.
#pragma once

#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class QMenu;
namespace sni {
class StatusNotifierTray;
}

class TrayIcon : public QObject {
  Q_OBJECT
 public:
  static constexpr int kMouseMove = 0x200;
  static constexpr int kLeftDown = 0x201;
  static constexpr int kLeftDouble = 0x203;
  static constexpr int kRightDown = 0x204;
  static constexpr int kMiddleDown = 0x207;

  explicit TrayIcon(const QIcon& icon, QObject* parent = nullptr);
  ~TrayIcon() override;

  // Puts the icon up; while no tray is available it keeps trying quietly.
  void Add();
  void Remove();
  bool IsShown() const;
  // No tray yet: trying again every two seconds (and whenever a StatusNotifier host appears).
  bool WaitingForTray() const { return retry_.isActive(); }
  void SetTip(const QString& tip);
  QString Tip() const { return tip_; }

  // The menu a StatusNotifier panel shows itself; an XEmbed tray passes the right click on and the owner
  // shows the menu.
  void SetMenu(QMenu* menu);
  // While not available the exported menu shows nothing and does nothing.
  void SetMenuAvailable(bool available);
  sni::StatusNotifierTray* StatusNotifier() const { return sni_.get(); }

  static int MessageFor(QSystemTrayIcon::ActivationReason reason);

 signals:
  void Message(int msg, QPoint pixels);

 private:
  void OnActivated(QSystemTrayIcon::ActivationReason reason);
  void TryShow();
  void FromStatusNotifier(int msg, QPoint pixels);

  QIcon image_;
  // Made only when an XEmbed tray is wanted: Qt settles the kind of its tray icon once, when the first
  // one is made, and would pick StatusNotifier if a panel host were up at that moment.
  std::unique_ptr<QSystemTrayIcon> xembed_;
  std::unique_ptr<sni::StatusNotifierTray> sni_;
  QTimer retry_;
  QString tip_;
  bool wanted_ = false;
};
