// The desktop portal's GlobalShortcuts interface: one session holding the quick-find shortcut.
#include "platform/PortalShortcut.h"

#include <QDBusArgument>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>

#include "platform/Log.h"

namespace {
constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";
constexpr char kRequest[] = "org.freedesktop.portal.Request";
const char* const kResponseSlot = SLOT(OnResponse(uint, QVariantMap, QDBusMessage));
// The one shortcut the program binds; the portal keeps the user's choice of key under this id.
constexpr char kShortcutId[] = "quick-find";

constexpr char kRefused[] =
    "デスクトップがショートカットを登録しませんでした。"
    "デスクトップのキーボード設定で「dialnestplus --find」にキーを割り当ててください。";

// One entry of BindShortcuts' a(sa{sv}).
struct NewShortcut {
  QString id;
  QVariantMap info;
};

QDBusArgument& operator<<(QDBusArgument& a, const NewShortcut& s) {
  a.beginStructure();
  a << s.id << s.info;
  a.endStructure();
  return a;
}

const QDBusArgument& operator>>(const QDBusArgument& a, NewShortcut& s) {
  a.beginStructure();
  a >> s.id >> s.info;
  a.endStructure();
  return a;
}

// The session handle of CreateSession's answer: a string by the interface, an object path in practice.
QString SessionHandle(const QVariantMap& results) {
  const QVariant handle = results.value(QStringLiteral("session_handle"));
  return handle.canConvert<QDBusObjectPath>() ? handle.value<QDBusObjectPath>().path() : handle.toString();
}

void SendClose(const QDBusConnection& bus, const QString& session) {
  bus.send(QDBusMessage::createMethodCall(kService, session, "org.freedesktop.portal.Session", "Close"));
}
}  // namespace

Q_DECLARE_METATYPE(NewShortcut)

PortalShortcut::PortalShortcut(const QDBusConnection& bus) : bus_(bus) {
  qDBusRegisterMetaType<NewShortcut>();
  qDBusRegisterMetaType<QList<NewShortcut>>();
  Probe();
}

PortalShortcut::~PortalShortcut() {
  CloseSession();
}

namespace {
// The X keysym name the portal's trigger description uses for a key a shortcut can be made of.
QString KeysymName(int key) {
  using K = globalshortcut::Key::Kind;
  const globalshortcut::Key k = globalshortcut::Classify(key);
  switch (k.kind) {
    case K::Letter:
      return QChar(u'a' + k.index);
    case K::Digit:
      return QChar(u'0' + k.index);
    case K::Function:
      return QStringLiteral("F%1").arg(k.index + 1);
    case K::Space:
      return QStringLiteral("space");
    case K::Insert:
      return QStringLiteral("Insert");
    case K::Home:
      return QStringLiteral("Home");
    case K::End:
      return QStringLiteral("End");
    case K::None:
      break;
  }
  return {};
}
}  // namespace

QString PortalShortcut::TriggerText(const QKeySequence& key) {
  if (key.isEmpty()) return {};
  const QKeyCombination combo = key[0];
  const QString name = KeysymName(combo.key());
  if (name.isEmpty()) return {};
  const Qt::KeyboardModifiers m = combo.keyboardModifiers();
  QString text;
  if (m & Qt::ControlModifier) text += QStringLiteral("CTRL+");
  if (m & Qt::AltModifier) text += QStringLiteral("ALT+");
  if (m & Qt::ShiftModifier) text += QStringLiteral("SHIFT+");
  if (m & Qt::MetaModifier) text += QStringLiteral("LOGO+");
  return text + name;
}

bool PortalShortcut::Set(const QKeySequence& key) {
  // The settings dialog sets the key at every OK: a key already bound (or being bound) stays as it is,
  // so the desktop does not ask the user to confirm it again.
  if (!key.isEmpty() && key == key_ && (!session_.isEmpty() || !pending_.isEmpty())) return true;
  CloseSession();
  pending_.clear();
  key_ = key;
  problem_.clear();
  if (key.isEmpty()) return true;
  if (TriggerText(key).isEmpty()) {
    problem_ = UnusableKeyText(key);
    return false;
  }
  switch (portal_) {
    case Portal::Absent:
      problem_ = NoGrabText();
      return false;
    case Portal::Present:
      CreateSession();
      return true;
    case Portal::Asking:  // bound once the portal has answered
      return true;
  }
  return true;
}

void PortalShortcut::Probe() {
  // Newer portals learn a program's id (its desktop file) this way before its first call; older ones
  // do not know the call, and its error changes nothing.
  QDBusMessage reg =
      QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.host.portal.Registry", "Register");
  reg.setArguments({QStringLiteral("dialnestplus"), QVariantMap{}});
  bus_.send(reg);
  QDBusMessage get =
      QDBusMessage::createMethodCall(kService, kPath, "org.freedesktop.DBus.Properties", "Get");
  get.setArguments({QString::fromLatin1(kInterface), QStringLiteral("version")});
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(get), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusPendingReply<QDBusVariant> reply = *w;
    if (reply.isError()) {
      portal_ = Portal::Absent;
      qCInfo(lcSession) << "no GlobalShortcuts portal:" << reply.error().message();
      if (!key_.isEmpty()) problem_ = NoGrabText();
      return;
    }
    portal_ = Portal::Present;
    // Listened for only now: on a connection made a moment ago (the first D-Bus use of the run), a
    // hook set up in the constructor heard nothing in our tests with Qt 6.4.
    bus_.connect(kService, kPath, kInterface, "Activated", this,
                 SLOT(OnActivated(QDBusObjectPath, QString, qulonglong, QVariantMap)));
    qCInfo(lcSession) << "GlobalShortcuts portal version" << reply.value().variant().toUInt();
    if (!key_.isEmpty() && problem_.isEmpty()) CreateSession();
  });
}

void PortalShortcut::CreateSession() {
  const QString token = QStringLiteral("dialnest%1").arg(++serial_);
  Request(QStringLiteral("CreateSession"),
          {QVariantMap{{QStringLiteral("handle_token"), token},
                       {QStringLiteral("session_handle_token"), token + QStringLiteral("s")}}},
          token, Step::Create);
}

void PortalShortcut::BindShortcut() {
  const QString token = QStringLiteral("dialnest%1").arg(++serial_);
  const QList<NewShortcut> shortcuts{{QString::fromLatin1(kShortcutId),
                                      {{QStringLiteral("description"), QStringLiteral("クイック検索")},
                                       {QStringLiteral("preferred_trigger"), TriggerText(key_)}}}};
  Request(QStringLiteral("BindShortcuts"),
          {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts), QString(),
           QVariantMap{{QStringLiteral("handle_token"), token}}},
          token, Step::Bind);
}

void PortalShortcut::CloseSession() {
  if (session_.isEmpty()) return;
  SendClose(bus_, session_);
  session_.clear();
}

void PortalShortcut::Request(const QString& method, const QVariantList& args, const QString& token,
                             Step step) {
  // The Request object's path is known before the call, so its answer cannot come before we listen.
  QString sender = bus_.baseService().mid(1);
  sender.replace(u'.', u'_');
  const QString path = QStringLiteral("/org/freedesktop/portal/desktop/request/%1/%2").arg(sender, token);
  pending_ = path;
  step_ = step;
  bus_.connect(kService, path, kRequest, "Response", this, kResponseSlot);
  QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
  call.setArguments(args);
  auto* watcher = new QDBusPendingCallWatcher(bus_.asyncCall(call), this);
  connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, path](QDBusPendingCallWatcher* w) {
    w->deleteLater();
    const QDBusPendingReply<QDBusObjectPath> reply = *w;
    if (pending_ != path) return;  // a newer key took over
    if (reply.isError()) {
      bus_.disconnect(kService, path, kRequest, "Response", this, kResponseSlot);
      Fail(reply.error().message());
      return;
    }
    // A portal older than handle tokens answers on a path of its own choosing.
    const QString given = reply.value().path();
    if (given == path) return;
    bus_.disconnect(kService, path, kRequest, "Response", this, kResponseSlot);
    pending_ = given;
    bus_.connect(kService, given, kRequest, "Response", this, kResponseSlot);
  });
}

void PortalShortcut::OnResponse(uint response, const QVariantMap& results, const QDBusMessage& message) {
  bus_.disconnect(kService, message.path(), kRequest, "Response", this, kResponseSlot);
  if (message.path() != pending_) {
    // A session made for a key since replaced: nobody will use it.
    const QString stale = SessionHandle(results);
    if (response == 0 && !stale.isEmpty()) SendClose(bus_, stale);
    return;
  }
  pending_.clear();
  if (response != 0) {
    Fail(QStringLiteral("the portal answered %1").arg(response));
    return;
  }
  if (step_ == Step::Create) {
    session_ = SessionHandle(results);
    if (session_.isEmpty()) {
      Fail(QStringLiteral("no session handle"));
      return;
    }
    BindShortcut();
    return;
  }
  problem_.clear();
  qCInfo(lcSession) << "global shortcut" << TriggerText(key_) << "bound through the portal";
}

void PortalShortcut::OnActivated(const QDBusObjectPath& session, const QString& id, qulonglong /*timestamp*/,
                                 const QVariantMap& /*options*/) {
  if (!session_.isEmpty() && session.path() == session_ && id == QLatin1String(kShortcutId)) emit Activated();
}

void PortalShortcut::Fail(const QString& why) {
  pending_.clear();
  CloseSession();
  problem_ = QString::fromUtf8(kRefused);
  qCWarning(lcSession) << "global shortcut" << TriggerText(key_) << "not bound through the portal:" << why;
}
