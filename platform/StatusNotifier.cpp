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
#include <QtEndian>

#include "platform/Log.h"

namespace sni {

namespace {

const QString kWatcherService = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kWatcherPath = QStringLiteral("/StatusNotifierWatcher");
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
  for (int size : {16, 22, 24, 32, 48, 64}) {
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

// ---- DBusMenu ----

DBusMenu::DBusMenu(QObject* parent) : QObject(parent) {
  RegisterTypes();
  changed_.setSingleShot(true);
  changed_.setInterval(0);
  connect(&changed_, &QTimer::timeout, this, [this] { emit LayoutUpdated(++revision_, 0); });
}

void DBusMenu::SetMenu(QMenu* root) {
  root_ = root;
  Changed();
}

void DBusMenu::SetAvailable(bool available) {
  if (available_ == available) return;
  available_ = available;
  Changed();
}

void DBusMenu::SetInlineThirdLevel(bool inlined) {
  if (inlineThird_ == inlined) return;
  inlineThird_ = inlined;
  Changed();
}

bool DBusMenu::IsHeading(QAction* a) const {
  // A submenu whose own menu sits directly under the root: two levels down.
  if (!inlineThird_ || !a || !a->menu() || !root_) return false;
  for (QObject* o : a->associatedObjects()) {
    auto* parent = qobject_cast<QMenu*>(o);
    if (!parent || parent == a->menu()) continue;
    if (parent->menuAction() && root_->actions().contains(parent->menuAction())) return true;
  }
  return false;
}

void DBusMenu::Changed() {
  if (!changed_.isActive()) changed_.start();
}

int DBusMenu::IdOf(QAction* action) {
  auto it = ids_.constFind(action);
  if (it != ids_.constEnd()) return *it;
  const int id = nextId_++;
  ids_.insert(action, id);
  actions_.insert(id, action);
  connect(action, &QObject::destroyed, this, [this, action, id] {
    ids_.remove(action);
    actions_.remove(id);
  });
  return id;
}

QMenu* DBusMenu::MenuOf(int id) const {
  if (id == 0) return root_;
  QAction* a = actions_.value(id);
  return a ? a->menu() : nullptr;
}

void DBusMenu::Watch(QMenu* menu) {
  if (!menu || watched_.contains(menu)) return;
  watched_.insert(menu);
  menu->installEventFilter(this);
  connect(menu, &QObject::destroyed, this, [this, menu] { watched_.remove(menu); });
}

bool DBusMenu::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::ActionAdded:
    case QEvent::ActionRemoved:
    case QEvent::ActionChanged:
      if (!building_) Changed();
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

namespace {
// The dbusmenu properties of one action that differ from the interface's defaults.
QVariantMap ActionProperties(QAction* a, bool heading) {
  QVariantMap all;
  if (a->isSeparator()) {
    all.insert(QStringLiteral("type"), QStringLiteral("separator"));
  } else {
    all.insert(QStringLiteral("label"), MenuLabel(a->text()));
    if (heading)
      all.insert(QStringLiteral("enabled"), false);
    else if (a->menu())
      all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
    if (a->isCheckable()) {
      const bool radio = a->actionGroup() && a->actionGroup()->isExclusive();
      all.insert(QStringLiteral("toggle-type"),
                 radio ? QStringLiteral("radio") : QStringLiteral("checkmark"));
      all.insert(QStringLiteral("toggle-state"), a->isChecked() ? 1 : 0);
    }
  }
  if (!a->isEnabled()) all.insert(QStringLiteral("enabled"), false);
  if (!a->isVisible()) all.insert(QStringLiteral("visible"), false);
  return all;
}
}  // namespace

QVariantMap DBusMenu::PropertiesOf(int id, const QStringList& names) {
  QVariantMap all;
  if (id == 0)
    all.insert(QStringLiteral("children-display"), QStringLiteral("submenu"));
  else if (QAction* a = actions_.value(id))
    all = ActionProperties(a, IsHeading(a));
  if (names.isEmpty()) return all;
  QVariantMap chosen;
  for (const QString& n : names)
    if (all.contains(n)) chosen.insert(n, all.value(n));
  return chosen;
}

qint64 DBusMenu::CostOf(QMenu* menu) {
  // What the items take in a reply: their labels and, per item, about 120 bytes of structure.
  qint64 cost = 0;
  for (QAction* a : menu->actions()) {
    cost += 120 + a->text().size() * 3;
    if (IsHeading(a)) {
      emit a->menu()->aboutToShow();
      for (QAction* inner : a->menu()->actions()) cost += 120 + inner->text().size() * 3;
    }
  }
  return cost;
}

MenuLayoutItem DBusMenu::Build(int id, int depth, const QStringList& names, bool asked) {
  MenuLayoutItem item;
  item.id = id;
  item.properties = PropertiesOf(id, names);
  QMenu* menu = MenuOf(id);
  Watch(menu);
  if (!menu || depth == 0 || !available_ || IsHeading(actions_.value(id))) return item;
  // A reply the bus cannot carry would drop the program off the bus: below the item asked for, a
  // submenu whose items no longer fit is sent without them, and the panel asks for it when it opens.
  // Once one did not fit, no further menu is made only to be left out.
  if (!asked && budget_ <= 0) return item;
  // A menu whose items are made when it is about to be shown (the letters of a phone book) makes them
  // now: the panel asks for them.
  emit menu->aboutToShow();
  const qint64 cost = CostOf(menu);
  if (!asked && cost > budget_) {
    budget_ = 0;
    return item;
  }
  budget_ -= cost;
  const int next = depth < 0 ? -1 : depth - 1;
  for (QAction* a : menu->actions()) {
    const int childId = IdOf(a);
    item.children.append(Build(childId, next, names, false));
    if (!IsHeading(a)) continue;
    // The heading's items follow it in this menu, at the same depth.
    Watch(a->menu());
    for (QAction* inner : a->menu()->actions()) item.children.append(Build(IdOf(inner), next, names, false));
  }
  return item;
}

uint DBusMenu::GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                         MenuLayoutItem& layout) {
  budget_ = layoutBudget_;
  // Items made while the layout is built are in it already: no new layout to announce for them.
  building_ = true;
  layout = Build(parentId, recursionDepth, propertyNames, true);
  building_ = false;
  return revision_;
}

MenuItemPropertiesList DBusMenu::GetGroupProperties(const QList<int>& ids, const QStringList& propertyNames) {
  MenuItemPropertiesList list;
  for (int id : ids)
    if (id == 0 || actions_.contains(id)) list.append({id, PropertiesOf(id, propertyNames)});
  return list;
}

QDBusVariant DBusMenu::GetProperty(int id, const QString& name) {
  // The defaults of com.canonical.dbusmenu for what an item leaves unset.
  static const QVariantMap kDefaults = {{QStringLiteral("type"), QStringLiteral("standard")},
                                        {QStringLiteral("label"), QString()},
                                        {QStringLiteral("enabled"), true},
                                        {QStringLiteral("visible"), true},
                                        {QStringLiteral("icon-name"), QString()},
                                        {QStringLiteral("toggle-type"), QString()},
                                        {QStringLiteral("toggle-state"), -1},
                                        {QStringLiteral("children-display"), QString()},
                                        {QStringLiteral("disposition"), QStringLiteral("normal")},
                                        {QStringLiteral("accessible-desc"), QString()}};
  auto refuse = [this](const QString& why) {
    if (calledFromDBus()) sendErrorReply(QDBusError::InvalidArgs, why);
    return QDBusVariant(QString());
  };
  if (id != 0 && !actions_.contains(id)) return refuse(QStringLiteral("no menu item %1").arg(id));
  const QVariantMap props = PropertiesOf(id, {name});
  if (props.contains(name)) return QDBusVariant(props.value(name));
  if (kDefaults.contains(name)) return QDBusVariant(kDefaults.value(name));
  return refuse(QStringLiteral("no property %1").arg(name));
}

void DBusMenu::Event(int id, const QString& eventId, const QDBusVariant&, uint) {
  if (!available_ || eventId != QLatin1String("clicked")) return;
  QAction* a = actions_.value(id);
  if (!a || a->menu() || a->isSeparator() || !a->isEnabled()) return;
  // After the reply: the command may open a window or a message box of its own.
  QMetaObject::invokeMethod(a, &QAction::trigger, Qt::QueuedConnection);
}

QList<int> DBusMenu::EventGroup(const MenuEventList& events) {
  QList<int> unknown;
  for (const MenuEvent& e : events) {
    if (e.id != 0 && !actions_.contains(e.id))
      unknown.append(e.id);
    else
      Event(e.id, e.eventId, e.data, e.timestamp);
  }
  return unknown;
}

bool DBusMenu::AboutToShow(int id) {
  // A letter's items are made now if they are not; the panel then asks for the layout again.
  QMenu* menu = MenuOf(id);
  if (!menu || !available_) return false;
  const qsizetype before = menu->actions().size();
  building_ = true;
  emit menu->aboutToShow();
  building_ = false;
  return menu->actions().size() != before;
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  idErrors.clear();
  for (int id : ids)
    if (id != 0 && !actions_.contains(id)) idErrors.append(id);
  return {};
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
    HostKnown(false);
    return;
  }
  asking_ = true;
  QDBusMessage get = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath,
                                                    QStringLiteral("org.freedesktop.DBus.Properties"),
                                                    QStringLiteral("Get"));
  get << kWatcherService << QStringLiteral("IsStatusNotifierHostRegistered");
  // A watcher that does not answer within 2 s counts as absent; the next change asks again.
  auto* call = new QDBusPendingCallWatcher(bus.asyncCall(get, 2000), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusMessage reply = w->reply();
    const bool host = reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty() &&
                      reply.arguments().first().value<QDBusVariant>().variant().toBool();
    if (!host && reply.type() == QDBusMessage::ErrorMessage)
      qCInfo(lcTray) << "the StatusNotifier watcher did not answer:" << reply.errorName();
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
  QDBusMessage reg = QDBusMessage::createMethodCall(kWatcherService, kWatcherPath, kWatcherService,
                                                    QStringLiteral("RegisterStatusNotifierItem"));
  reg << service_;
  asking_ = true;
  auto* call = new QDBusPendingCallWatcher(bus.asyncCall(reg, 2000), this);
  connect(call, &QDBusPendingCallWatcher::finished, this, [this, owner](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const bool now = w->reply().type() == QDBusMessage::ReplyMessage;
    registeredWith_ = now ? owner : QString();
    if (now) {
      // GNOME Shell draws no third menu level; waybar gives click positions relative to the icon.
      const QString program = WatcherProgram();
      menu_->SetInlineThirdLevel(program == QLatin1String("gnome-shell"));
      item_->SetHostPositionsRelative(program == QLatin1String("waybar"));
      qCInfo(lcTray) << "StatusNotifier host:" << (program.isEmpty() ? QStringLiteral("unknown") : program);
    }
    if (started_) SetRegistered(now);
    Done();
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
    // Giving the name up is what tells the watcher the item has gone.
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
