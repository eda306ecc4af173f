// The tray icon as a StatusNotifier item with its menu exported over com.canonical.dbusmenu, for panels
// that speak only that protocol. Qt has its own, but it decides once at start whether a panel is there,
// keeps exporting its menu when told to withdraw it, and lets the panel read "_" in a label as an access
// key; this one follows the panel coming and going, can make its menu inert, and shows labels as stored.
#pragma once

#include <QDBusArgument>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QHash>
#include <QIcon>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QTimer>
#include <QVariantMap>

class QAction;
class QMenu;

namespace sni {

// One picture of the icon: ARGB32 pixels in network byte order.
struct IconPixmap {
  int width = 0;
  int height = 0;
  QByteArray pixels;
};
using IconPixmapList = QList<IconPixmap>;

struct ToolTip {
  QString iconName;
  IconPixmapList image;
  QString title;
  QString description;
};

// An item of the exported menu with its children (layout), or with its properties only.
struct MenuLayoutItem {
  int id = 0;
  QVariantMap properties;
  QList<MenuLayoutItem> children;
};
struct MenuItemProperties {
  int id = 0;
  QVariantMap properties;
};
using MenuItemPropertiesList = QList<MenuItemProperties>;
struct MenuItemKeys {
  int id = 0;
  QStringList names;
};
using MenuItemKeysList = QList<MenuItemKeys>;
struct MenuEvent {
  int id = 0;
  QString eventId;
  QDBusVariant data;
  uint timestamp = 0;
};
using MenuEventList = QList<MenuEvent>;

// The icon's pictures at the sizes panels ask for (16 to 64 pixels).
IconPixmapList PixmapsOf(const QIcon& icon);

// A menu text (Qt's "&" access key, "&&" for "&", a tab before the shortcut column) as a dbusmenu label
// ("_" access key, "__" for "_"), so the panel shows what the menu shows.
QString MenuLabel(const QString& menuText);

void RegisterTypes();

// The com.canonical.dbusmenu object for one QMenu tree (id 0 is the menu itself).
class DBusMenu : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.canonical.dbusmenu")
  Q_PROPERTY(uint Version READ Version)
  Q_PROPERTY(QString TextDirection READ TextDirection)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(QStringList IconThemePath READ IconThemePath)
 public:
  explicit DBusMenu(QObject* parent = nullptr);

  void SetMenu(QMenu* root);
  // While not available the menu shows no items and every event is ignored.
  void SetAvailable(bool available);
  bool Available() const { return available_; }
  // For panels that draw only two menu levels (GNOME Shell): a submenu inside a submenu is laid out
  // inline in its parent, headed by its own caption as a disabled item, so every item is one click away.
  void SetInlineThirdLevel(bool inlined);
  // About how many bytes one layout reply may take (the bus carries at most 64 MiB per message).
  void SetLayoutBudget(qint64 bytes) { layoutBudget_ = bytes; }
  uint Revision() const { return revision_; }
  // The id an action has in the exported layout (assigned on first use).
  int IdOf(QAction* action);

  uint Version() const { return 3; }
  QString TextDirection() const { return QStringLiteral("ltr"); }
  QString Status() const { return QStringLiteral("normal"); }
  QStringList IconThemePath() const { return {}; }

 public slots:
  Q_SCRIPTABLE uint GetLayout(int parentId, int recursionDepth, const QStringList& propertyNames,
                              sni::MenuLayoutItem& layout);
  Q_SCRIPTABLE sni::MenuItemPropertiesList GetGroupProperties(const QList<int>& ids,
                                                              const QStringList& propertyNames);
  // Answers every call: the value (a property the item does not set has the protocol's default), or a
  // D-Bus error for an unknown item or property, so a panel never waits for its timeout.
  Q_SCRIPTABLE QDBusVariant GetProperty(int id, const QString& name);
  Q_SCRIPTABLE void Event(int id, const QString& eventId, const QDBusVariant& data, uint timestamp);
  Q_SCRIPTABLE QList<int> EventGroup(const sni::MenuEventList& events);
  Q_SCRIPTABLE bool AboutToShow(int id);
  Q_SCRIPTABLE QList<int> AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors);

 signals:
  Q_SCRIPTABLE void ItemsPropertiesUpdated(const sni::MenuItemPropertiesList& updatedProps,
                                           const sni::MenuItemKeysList& removedProps);
  Q_SCRIPTABLE void LayoutUpdated(uint revision, int parent);
  Q_SCRIPTABLE void ItemActivationRequested(int id, uint timestamp);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QMenu* MenuOf(int id) const;
  QVariantMap PropertiesOf(int id, const QStringList& names);
  MenuLayoutItem Build(int id, int depth, const QStringList& names, bool asked);
  qint64 CostOf(QMenu* menu);
  bool IsHeading(QAction* a) const;
  void Watch(QMenu* menu);
  void Changed();

  QPointer<QMenu> root_;
  bool available_ = true;
  bool inlineThird_ = false;
  qint64 layoutBudget_ = qint64{16} * 1024 * 1024;
  qint64 budget_ = 0;
  bool building_ = false;
  uint revision_ = 1;
  int nextId_ = 1;
  QHash<QAction*, int> ids_;
  QHash<int, QPointer<QAction>> actions_;
  QSet<QMenu*> watched_;
  QTimer changed_;
};

// The org.kde.StatusNotifierItem object; clicks come out as signals in screen pixels.
class StatusNotifierItem : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.kde.StatusNotifierItem")
  Q_PROPERTY(QString Category READ Category)
  Q_PROPERTY(QString Id READ Id)
  Q_PROPERTY(QString Title READ Title)
  Q_PROPERTY(QString Status READ Status)
  Q_PROPERTY(int WindowId READ WindowId)
  Q_PROPERTY(QString IconThemePath READ Empty)
  Q_PROPERTY(QString IconName READ Empty)
  Q_PROPERTY(sni::IconPixmapList IconPixmap READ IconPixmap)
  Q_PROPERTY(QString OverlayIconName READ Empty)
  Q_PROPERTY(sni::IconPixmapList OverlayIconPixmap READ NoPixmaps)
  Q_PROPERTY(QString AttentionIconName READ Empty)
  Q_PROPERTY(sni::IconPixmapList AttentionIconPixmap READ NoPixmaps)
  Q_PROPERTY(QString AttentionMovieName READ Empty)
  Q_PROPERTY(sni::ToolTip ToolTip READ ToolTip)
  Q_PROPERTY(bool ItemIsMenu READ ItemIsMenu)
  Q_PROPERTY(QDBusObjectPath Menu READ Menu)
 public:
  StatusNotifierItem(const QString& id, const QIcon& icon, QObject* parent = nullptr);

  void SetTitle(const QString& title);
  QString Category() const { return QStringLiteral("ApplicationStatus"); }
  QString Id() const { return id_; }
  QString Title() const { return title_; }
  QString Status() const { return QStringLiteral("Active"); }
  int WindowId() const { return 0; }
  QString Empty() const { return {}; }
  IconPixmapList IconPixmap() const { return pixmaps_; }
  IconPixmapList NoPixmaps() const { return {}; }
  sni::ToolTip ToolTip() const;
  bool ItemIsMenu() const { return false; }
  QDBusObjectPath Menu() const { return QDBusObjectPath(QStringLiteral("/MenuBar")); }
  // Hosts that send positions relative to the icon (waybar) rather than on the screen: the pointer
  // position is taken instead.
  void SetHostPositionsRelative(bool relative) { relativePositions_ = relative; }

 public slots:
  Q_SCRIPTABLE void ContextMenu(int x, int y);
  Q_SCRIPTABLE void Activate(int x, int y);
  Q_SCRIPTABLE void SecondaryActivate(int x, int y);
  Q_SCRIPTABLE void Scroll(int delta, const QString& orientation);

 signals:
  Q_SCRIPTABLE void NewTitle();
  Q_SCRIPTABLE void NewIcon();
  Q_SCRIPTABLE void NewToolTip();
  Q_SCRIPTABLE void NewStatus(const QString& status);
  void Activated(QPoint pixels);
  void ContextMenuRequested(QPoint pixels);
  void SecondaryActivated(QPoint pixels);

 private:
  QPoint Position(int x, int y) const;

  QString id_;
  QString title_;
  IconPixmapList pixmaps_;
  bool relativePositions_ = false;
};

// The item and its menu on the session bus, registered with the panel's watcher whenever one with a
// host is there; `HostPresent()` says whether the icon is shown that way now.
class StatusNotifierTray : public QObject {
  Q_OBJECT
 public:
  StatusNotifierTray(const QIcon& icon, QObject* parent = nullptr);
  ~StatusNotifierTray() override;

  // Starts following the watcher; false when there is no session bus. Every call to the watcher is
  // asynchronous: a panel that hangs never freezes the program.
  bool Start();
  void Stop();
  bool HostPresent() const { return registered_; }
  // Whether the watcher has answered (or failed to) since Start: until then the tray kind is open.
  bool Settled() const { return settled_; }
  // A watcher is on the bus but did not answer: anything that asks it and waits (Qt's own tray check
  // does) would freeze the program.
  bool WatcherSilent() const { return watcherSilent_; }
  bool Started() const { return started_; }
  StatusNotifierItem* Item() const { return item_; }
  DBusMenu* Menu() const { return menu_; }

  // The program that owns the watcher ("gnome-shell", "waybar", "plasmashell", ...), empty if unknown.
  static QString WatcherProgram();

 signals:
  // Also sent when the first answer settles the question, present or not.
  void HostChanged(bool present);

 private slots:
  void Reconsider();

 private:
  void HostKnown(bool host);
  void Register(const QString& watcherOwner);
  // A while after registering: a watcher that lost the item (GNOME's extension drops an item whose
  // set-up raced with its own name watch) is given it again, a few times at most.
  void CheckListed(const QString& watcherOwner);
  void SetRegistered(bool now);
  void Done();

  static constexpr int kRegisterMs = 25000;
  static constexpr int kListedCheckMs = 3000;
  static constexpr int kMaxRelists = 3;

  StatusNotifierItem* item_;
  DBusMenu* menu_;
  QString service_;
  bool following_ = false;
  bool started_ = false;
  bool exported_ = false;
  bool registered_ = false;
  bool settled_ = false;
  bool watcherSilent_ = false;
  QString registeredWith_;  // the watcher's connection the item is registered with
  bool asking_ = false;     // a question to the watcher is on its way
  bool askAgain_ = false;   // something changed meanwhile
  int relisted_ = 0;        // registrations repeated for a watcher that dropped the item
};

}  // namespace sni

Q_DECLARE_METATYPE(sni::IconPixmap)
Q_DECLARE_METATYPE(sni::ToolTip)
Q_DECLARE_METATYPE(sni::MenuLayoutItem)
Q_DECLARE_METATYPE(sni::MenuItemProperties)
Q_DECLARE_METATYPE(sni::MenuItemKeys)
Q_DECLARE_METATYPE(sni::MenuEvent)
