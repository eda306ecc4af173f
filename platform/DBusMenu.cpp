// The dbusmenu export of a QMenu tree: ids, properties, layouts by levels within the bus's limit,
// events and the inline shape for panels that show two levels.
#include <QAction>
#include <QActionGroup>
#include <QEvent>
#include <QMenu>

#include "platform/LazyMenu.h"
#include "platform/Log.h"
#include "platform/StatusNotifier.h"

namespace sni {

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
      lazymenu::Populate(a->menu());
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
  lazymenu::Populate(menu);
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
  lazymenu::Populate(menu);
  building_ = false;
  return menu->actions().size() != before;
}

QList<int> DBusMenu::AboutToShowGroup(const QList<int>& ids, QList<int>& idErrors) {
  idErrors.clear();
  for (int id : ids)
    if (id != 0 && !actions_.contains(id)) idErrors.append(id);
  return {};
}

}  // namespace sni
