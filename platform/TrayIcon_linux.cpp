// QSystemTrayIcon (XEmbed) or the StatusNotifier item, behind the message numbers.
#include "platform/TrayIcon_linux.h"

#include <QCursor>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QMenu>
#include <QVariantMap>

#include "platform/StatusNotifier.h"

TrayIcon* TrayIcon::Create(const QIcon& icon, QObject* parent) {
  return new SessionTray(icon, parent);
}

SessionTray::SessionTray(const QIcon& icon, QObject* parent)
    : TrayIcon(parent), image_(icon), sni_(std::make_unique<sni::StatusNotifierTray>(icon)) {
  retry_.setInterval(2000);
  connect(&retry_, &QTimer::timeout, this, &SessionTray::TryShow);
  connect(sni_.get(), &sni::StatusNotifierTray::HostChanged, this, &SessionTray::TryShow);
  sni::StatusNotifierItem* item = sni_->Item();
  connect(item, &sni::StatusNotifierItem::Activated, this,
          [this](QPoint p) { FromStatusNotifier(kLeftDown, p); });
  connect(item, &sni::StatusNotifierItem::ContextMenuRequested, this,
          [this](QPoint p) { FromStatusNotifier(kRightDown, p); });
  connect(item, &sni::StatusNotifierItem::SecondaryActivated, this,
          [this](QPoint p) { FromStatusNotifier(kMiddleDown, p); });
}

SessionTray::~SessionTray() = default;

void SessionTray::FromStatusNotifier(int msg, QPoint pixels) {
  // Some hosts send no position; the pointer is where the click was.
  emit Message(msg, pixels.isNull() ? QCursor::pos() : pixels);
}

void SessionTray::Add() {
  wanted_ = true;
  sni_->Start();
  TryShow();
}

void SessionTray::TryShow() {
  if (!wanted_) return;
  // Until the panel's watcher has answered, the kind of tray is open: an XEmbed icon made now would
  // show beside the StatusNotifier one (and settle Qt's own choice of tray for good).
  if (sni_->Started() && !sni_->Settled()) return;
  if (sni_->HostPresent()) {
    retry_.stop();
    if (xembed_) xembed_->hide();
    return;
  }
  // Qt's own tray check asks the StatusNotifier watcher and waits for it (up to 25 s): not while it is
  // silent. The retry timer looks again.
  if (sni_->WatcherSilent() || !QSystemTrayIcon::isSystemTrayAvailable()) {
    if (!retry_.isActive()) retry_.start();
    return;
  }
  retry_.stop();
  if (!xembed_) {
    xembed_ = std::make_unique<QSystemTrayIcon>(image_);
    xembed_->setToolTip(tip_);
    connect(xembed_.get(), &QSystemTrayIcon::activated, this, &SessionTray::OnActivated);
  }
  xembed_->show();
}

void SessionTray::Remove() {
  wanted_ = false;
  retry_.stop();
  sni_->Stop();
  if (xembed_) xembed_->hide();
}

bool SessionTray::IsShown() const {
  return sni_->HostPresent() || (xembed_ && xembed_->isVisible());
}

void SessionTray::SetTip(const QString& tip) {
  tip_ = tip;
  sni_->Item()->SetTitle(tip);
  if (xembed_) xembed_->setToolTip(tip);
}

void SessionTray::SetMenu(QMenu* menu) {
  sni_->Menu()->SetMenu(menu);
}

void SessionTray::SetMenuAvailable(bool available) {
  sni_->Menu()->SetAvailable(available);
}

void SessionTray::Notify(const QString& title, const QString& text) {
  // org.freedesktop.Notifications, asked without waiting for the answer; it stays until dismissed.
  QDBusMessage call = QDBusMessage::createMethodCall(
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("/org/freedesktop/Notifications"),
      QStringLiteral("org.freedesktop.Notifications"), QStringLiteral("Notify"));
  call << QStringLiteral("Dialnest Plus") << 0u << QStringLiteral("dialnestplus") << title << text
       << QStringList() << QVariantMap{{QStringLiteral("urgency"), QVariant::fromValue<uchar>(2)}} << 0;
  QDBusConnection::sessionBus().asyncCall(call);
}
