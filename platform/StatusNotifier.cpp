// StatusNotifier item and dbusmenu export over Qt D-Bus.
#include "platform/StatusNotifier.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <QDBusServiceWatcher>
#include <QEvent>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMenu>
#include <QTimer>
#include <QtEndian>

#include "platform/Log.h"

namespace sni {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");

// Asks the watcher for one of its properties; a watcher that does not answer within 2 s counts as
// silent (the next change asks again).
QDBusPendingCallWatcher* AskWatcher(const QString& property, QObject* parent) {
  QDBusMessage get = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath,
                                                    QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << kWatcherService << property;
  return new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(get, 2000), parent);
}

// The property's value from the watcher's answer; invalid when it gave none.
QVariant WatcherAnswer(const QDBusMessage& reply) {
  if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) return {};
  return reply.arguments().first().value<QDBusVariant>().variant();
}
const QString kItemPath = QStringLiteral("/StatusNotifierItem");
const QString kMenuPath = QStringLiteral("/MenuBar");

// Hosts give screen pixels; Qt places windows in its own (scaled) pixels.
QPoint FromHost(int x, int y) {
  const qreal ratio = qApp ? qApp->devicePixelRatio() : 1.0;
  return QPointF(x / ratio, y / ratio).toPoint();
}

}  // namespace

QDBusArgument& operator<<(QDBusArgument& a, const IconPixmap& p) {
  a.beginStructure();
  a << p.width << p.height << p.pixels;
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, IconPixmap& p) {
  a.beginStructure();
  a >> p.width >> p.height >> p.pixels;
  a.endStructure();
  return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const ToolTip& t) {
  a.beginStructure();
  a << t.iconName << t.image << t.title << t.description;
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, ToolTip& t) {
  a.beginStructure();
  a >> t.iconName >> t.image >> t.title >> t.description;
  a.endStructure();
  return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const MenuLayoutItem& item) {
  a.beginStructure();
  a << item.id << item.properties;
  a.beginArray(qMetaTypeId<QDBusVariant>());
  for (const MenuLayoutItem& child : item.children) a << QDBusVariant(QVariant::fromValue(child));
  a.endArray();
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, MenuLayoutItem& item) {
  a.beginStructure();
  a >> item.id >> item.properties;
  a.beginArray();
  item.children.clear();
  while (!a.atEnd()) {
    QDBusVariant v;
    a >> v;
    item.children.append(qdbus_cast<MenuLayoutItem>(v.variant()));
  }
  a.endArray();
  a.endStructure();
  return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const MenuItemProperties& p) {
  a.beginStructure();
  a << p.id << p.properties;
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, MenuItemProperties& p) {
  a.beginStructure();
  a >> p.id >> p.properties;
  a.endStructure();
  return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const MenuItemKeys& k) {
  a.beginStructure();
  a << k.id << k.names;
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, MenuItemKeys& k) {
  a.beginStructure();
  a >> k.id >> k.names;
  a.endStructure();
  return a;
}
QDBusArgument& operator<<(QDBusArgument& a, const MenuEvent& e) {
  a.beginStructure();
  a << e.id << e.eventId << e.data << e.timestamp;
  a.endStructure();
  return a;
}
const QDBusArgument& operator>>(const QDBusArgument& a, MenuEvent& e) {
  a.beginStructure();
  a >> e.id >> e.eventId >> e.data >> e.timestamp;
  a.endStructure();
  return a;
}

void RegisterTypes() {
  static const bool once = [] {
    qDBusRegisterMetaType<IconPixmap>();
    qDBusRegisterMetaType<IconPixmapList>();
    qDBusRegisterMetaType<ToolTip>();
    qDBusRegisterMetaType<MenuLayoutItem>();
    qDBusRegisterMetaType<MenuItemProperties>();
    qDBusRegisterMetaType<MenuItemPropertiesList>();
    qDBusRegisterMetaType<MenuItemKeys>();
    qDBusRegisterMetaType<MenuItemKeysList>();
    qDBusRegisterMetaType<MenuEvent>();
    qDBusRegisterMetaType<MenuEventList>();
    qDBusRegisterMetaType<QList<int>>();
    // Qt D-Bus looks the parameters of exported methods and signals up by the name written in the
    // declaration: without these the typedef names are unknown and EventGroup and
    // ItemsPropertiesUpdated are left out of the interface.
    qRegisterMetaType<MenuEventList>("sni::MenuEventList");
    qRegisterMetaType<MenuItemPropertiesList>("sni::MenuItemPropertiesList");
    qRegisterMetaType<MenuItemKeysList>("sni::MenuItemKeysList");
    return true;
  }();
  (void)once;
}

IconPixmapList PixmapsOf(const QIcon& icon) {
  IconPixmapList list;
  // The icon's own sizes a panel may draw (larger ones would only weigh on the bus).
  for (const QSize& available : icon.availableSizes()) {
    const int size = available.width();
    if (size > 64 || available.height() != size) continue;
    QImage image = icon.pixmap(QSize(size, size)).toImage();
    if (image.isNull()) continue;
    if (image.size() != QSize(size, size))
      image = image.scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    image = image.convertToFormat(QImage::Format_ARGB32);
    IconPixmap p{size, size,
                 QByteArray(reinterpret_cast<const char*>(image.constBits()), qsizetype{size} * size * 4)};
    auto* words = reinterpret_cast<quint32*>(p.pixels.data());
    for (int i = 0; i < size * size; ++i) words[i] = qToBigEndian(words[i]);
    list.append(p);
  }
  return list;
}

QString MenuLabel(const QString& menuText) {
  QString label;
  label.reserve(menuText.size() + 4);
  bool accessKeyDone = false;
  bool columnDone = false;
  for (qsizetype i = 0; i < menuText.size(); ++i) {
    const QChar c = menuText[i];
    if (c == QLatin1Char('&')) {
      if (i + 1 < menuText.size() && menuText[i + 1] == QLatin1Char('&')) {
        label += QLatin1Char('&');
        ++i;
      } else if (i + 1 < menuText.size() && !accessKeyDone) {
        label += QLatin1Char('_');
        accessKeyDone = true;
      }
    } else if (c == QLatin1Char('_')) {
      label += QStringLiteral("__");
    } else if (c == QLatin1Char('\t') && !columnDone) {
      // The panel has no shortcut column: name and number keep a gap between them.
      label += QStringLiteral("  ");
      columnDone = true;
    } else {
      label += c;
    }
  }
  return label;
}

// ---- StatusNotifierItem ----

StatusNotifierItem::StatusNotifierItem(const QString& id, const QIcon& icon, QObject* parent)
    : QObject(parent), id_(id), pixmaps_(PixmapsOf(icon)) {
  RegisterTypes();
}

void StatusNotifierItem::SetTitle(const QString& title) {
  if (title_ == title) return;
  title_ = title;
  emit NewTitle();
  emit NewToolTip();
}

ToolTip StatusNotifierItem::ToolTip() const {
  return {QString(), {}, title_, QString()};
}

QPoint StatusNotifierItem::Position(int x, int y) const {
  // A null point makes the tray adapter take the pointer position.
  return relativePositions_ ? QPoint() : FromHost(x, y);
}

void StatusNotifierItem::ContextMenu(int x, int y) {
  emit ContextMenuRequested(Position(x, y));
}
void StatusNotifierItem::Activate(int x, int y) {
  emit Activated(Position(x, y));
}
void StatusNotifierItem::SecondaryActivate(int x, int y) {
  emit SecondaryActivated(Position(x, y));
}
void StatusNotifierItem::Scroll(int, const QString&) {}

// ---- StatusNotifierTray ----

StatusNotifierTray::StatusNotifierTray(const QIcon& icon, QObject* parent)
    : QObject(parent),
      item_(new StatusNotifierItem(QStringLiteral("dialnestplus"), icon, this)),
      menu_(new DBusMenu(this)),
      service_(QStringLiteral("org.kde.StatusNotifierItem-%1-1").arg(QCoreApplication::applicationPid())) {}

StatusNotifierTray::~StatusNotifierTray() {
  Stop();
}

QString StatusNotifierTray::WatcherProgram() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface()) return {};
  const QDBusReply<uint> pid = bus.interface()->servicePid(kWatcherService);
  if (!pid.isValid()) return {};
  QFile comm(QStringLiteral("/proc/%1/comm").arg(pid.value()));
  if (!comm.open(QIODevice::ReadOnly)) return {};
  return QString::fromLocal8Bit(comm.readAll()).trimmed();
}

bool StatusNotifierTray::Start() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return false;
  if (!following_) {
    following_ = true;
    auto* watcher =
        new QDBusServiceWatcher(kWatcherService, bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this, &StatusNotifierTray::Reconsider);
    bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                QStringLiteral("StatusNotifierHostRegistered"), this, SLOT(Reconsider()));
    bus.connect(kWatcherService, kWatcherPath, kWatcherService,
                QStringLiteral("StatusNotifierHostUnregistered"), this, SLOT(Reconsider()));
  }
  started_ = true;
  Reconsider();
  return true;
}

void StatusNotifierTray::Reconsider() {
  if (!started_) return;
  if (asking_) {
    askAgain_ = true;
    return;
  }
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.interface() ||
      !bus.interface()->isServiceRegistered(kWatcherService).value()) {
    watcherSilent_ = false;
    HostKnown(false);
    return;
  }
  asking_ = true;
  auto* call = AskWatcher(QStringLiteral("IsStatusNotifierHostRegistered"), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusMessage reply = w->reply();
    const bool host = WatcherAnswer(reply).toBool();
    watcherSilent_ = reply.type() == QDBusMessage::ErrorMessage;
    if (watcherSilent_) qCInfo(lcTray) << "the StatusNotifier watcher did not answer:" << reply.errorName();
    if (started_) HostKnown(host);
  });
}

void StatusNotifierTray::HostKnown(bool host) {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (host && !exported_) {
    const auto contents = QDBusConnection::ExportScriptableContents | QDBusConnection::ExportAllProperties;
    // The name first: a panel that looks for items on the bus by their interface (GNOME's extension
    // does at start) must never find the item under the connection's unique name alone.
    exported_ = bus.registerService(service_) && bus.registerObject(kItemPath, item_, contents) &&
                bus.registerObject(kMenuPath, menu_, contents);
  }
  if (!host || !exported_) {
    SetRegistered(false);
    Done();
    return;
  }
  // Registered with this very watcher already (another host came or went): registering again would
  // make some watchers set the item up a second time while the first is still being set up.
  const QString owner = bus.interface()->serviceOwner(kWatcherService).value();
  if (registered_ && owner == registeredWith_) {
    Done();
    return;
  }
  relisted_ = 0;
  Register(owner);
}

void StatusNotifierTray::Register(const QString& owner) {
  const QString program = WatcherProgram();
  QDBusMessage reg = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath, kWatcherService,
                                                    QStringLiteral("RegisterStatusNotifierItem"));
  // GNOME's extension watches the name of an item registered by name, and drops the item when that
  // watch answers after the item's properties have come (on a busy machine, often: no icon). An item
  // registered by its path is set up without that watch. Other watchers get the name, as most items
  // do, and the path only after they dropped the item.
  const bool byPath = relisted_ > 0 || program == QLatin1String("gnome-shell");
  reg << (byPath ? kItemPath : service_);
  asking_ = true;
  // GNOME's extension answers only once the shell has finished starting (at login, seconds): an early
  // time-out would fall back to another tray while the item is about to show.
  auto* call = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(reg, kRegisterMs), this);
  connect(call, &QDBusPendingCallWatcher::finished, this,
          [this, owner, program, byPath](QDBusPendingCallWatcher* w) {
            w->deleteLater();
            const bool now = w->reply().type() == QDBusMessage::ReplyMessage;
            registeredWith_ = now ? owner : QString();
            if (now) {
              QTimer::singleShot(kListedCheckMs, this, [this, owner] { CheckListed(owner); });
              // GNOME Shell draws no third menu level; waybar gives click positions relative to the icon.
              menu_->SetInlineThirdLevel(program == QLatin1String("gnome-shell"));
              item_->SetHostPositionsRelative(program == QLatin1String("waybar"));
              qCInfo(lcTray) << "StatusNotifier host:"
                             << (program.isEmpty() ? QStringLiteral("unknown") : program)
                             << (byPath ? "(the item registered by its path)"
                                        : "(the item registered by its name)");
            }
            if (started_) SetRegistered(now);
            Done();
          });
}

void StatusNotifierTray::CheckListed(const QString& owner) {
  if (!started_ || asking_ || registeredWith_ != owner) return;
  auto* call = AskWatcher(QStringLiteral("RegisteredStatusNotifierItems"), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this, owner](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QVariant answer = WatcherAnswer(w->reply());
    if (!answer.isValid()) return;  // cannot tell
    if (!started_ || asking_ || registeredWith_ != owner) return;
    const QStringList items = answer.toStringList();
    const QString unique = QDBusConnection::sessionBus().baseService();
    // Watchers list an item by its name, or by name or connection followed by its path.
    for (const QString& item : items)
      if (item.startsWith(service_) || item.startsWith(unique)) return;
    if (relisted_ >= kMaxRelists) {
      qCWarning(lcTray) << "the StatusNotifier watcher keeps dropping the item:" << items;
      return;
    }
    ++relisted_;
    qCInfo(lcTray) << "the StatusNotifier watcher dropped the item; registering it again";
    Register(owner);
  });
}

void StatusNotifierTray::SetRegistered(bool now) {
  const bool first = !settled_;
  settled_ = true;
  if (now == registered_ && !first) return;
  registered_ = now;
  emit HostChanged(now);
}

void StatusNotifierTray::Done() {
  asking_ = false;
  if (askAgain_ && started_) {
    askAgain_ = false;
    Reconsider();
  }
}

void StatusNotifierTray::Stop() {
  if (!started_) return;
  started_ = false;
  settled_ = false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (exported_) {
    // Giving the name up tells the watcher the item has gone (one registered by its path goes with the
    // connection, at exit).
    bus.unregisterService(service_);
    bus.unregisterObject(kMenuPath);
    bus.unregisterObject(kItemPath);
    exported_ = false;
  }
  registeredWith_.clear();
  if (registered_) {
    registered_ = false;
    emit HostChanged(false);
  }
}

}  // namespace sni
