// The global shortcut on Wayland desktops: the desktop portal's GlobalShortcuts interface over D-Bus.
// Every call is asynchronous (a slow portal never holds the windows up); Problem() follows the portal's
// answers, so the settings dialog says why the key does not work once it knows.
#pragma once

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QKeySequence>
#include <QVariantMap>

#include "platform/GlobalShortcut.h"

class PortalShortcut final : public GlobalShortcut {
  Q_OBJECT
 public:
  explicit PortalShortcut(const QDBusConnection& bus);
  ~PortalShortcut() override;

  bool Set(const QKeySequence& key) override;

  // The trigger text of the XDG shortcuts format ("CTRL+ALT+f") for `key`'s first chord; empty for a
  // key the format has no name for.
  static QString TriggerText(const QKeySequence& key);

 private slots:
  void OnResponse(uint response, const QVariantMap& results, const QDBusMessage& message);
  void OnActivated(const QDBusObjectPath& session, const QString& id, qulonglong timestamp,
                   const QVariantMap& options);

 private:
  enum class Portal { Asking, Absent, Present };
  enum class Step { Create, Bind };

  void Probe();
  void CreateSession();
  void BindShortcut();
  void CloseSession();
  // Sends a portal call that answers through a Request object (its Response signal).
  void Request(const QString& method, const QVariantList& args, const QString& token, Step step);
  void Fail(const QString& why);

  QDBusConnection bus_;
  Portal portal_ = Portal::Asking;
  QKeySequence key_;
  QString session_;  // the open session's object path, empty while none
  QString pending_;  // the Request object path whose Response is awaited
  Step step_ = Step::Create;
  int serial_ = 0;
};
