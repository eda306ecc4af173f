// The global shortcut through the desktop portal, against a portal of the test's own on a private bus.
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVirtualObject>
#include <QSignalSpy>
#include <QTest>

#include "platform/PortalShortcut.h"
#include "testsupport/DBusBarrier.h"

namespace {
constexpr char kService[] = "org.freedesktop.portal.Desktop";
constexpr char kPath[] = "/org/freedesktop/portal/desktop";
constexpr char kInterface[] = "org.freedesktop.portal.GlobalShortcuts";

// Answers the calls the program makes, as the portal does: each through a Request object's Response.
class FakePortal final : public QDBusVirtualObject {
 public:
  explicit FakePortal(QDBusConnection bus) : bus_(std::move(bus)) {}

  QString introspect(const QString&) const override { return {}; }

  bool handleMessage(const QDBusMessage& m, const QDBusConnection& c) override {
    if (m.type() != QDBusMessage::MethodCallMessage) return false;
    calls << m.member();
    if (m.member() == u"Get") {
      c.send(m.createReply(QVariant::fromValue(QDBusVariant(1U))));
    } else if (m.member() == u"Register") {
      c.send(m.createErrorReply(QDBusError::UnknownMethod, QStringLiteral("not in this portal")));
    } else if (m.member() == u"Close") {
      closed << m.path();
      c.send(m.createReply());
    } else if (m.member() == u"CreateSession") {
      const QVariantMap options = qdbus_cast<QVariantMap>(m.arguments().at(0));
      const QString session =
          SubPath(m, "session", options.value(QStringLiteral("session_handle_token")).toString());
      Answer(m, c, options, {{QStringLiteral("session_handle"), session}});
      sessions << session;
    } else if (m.member() == u"BindShortcuts") {
      bound.session = m.arguments().at(0).value<QDBusObjectPath>().path();
      const auto list = m.arguments().at(1).value<QDBusArgument>();
      list.beginArray();
      while (!list.atEnd()) {
        list.beginStructure();
        list >> bound.id >> bound.info;
        list.endStructure();
      }
      list.endArray();
      Answer(m, c, qdbus_cast<QVariantMap>(m.arguments().at(3)), {}, bindAnswer);
      ++binds;
    } else {
      return false;
    }
    return true;
  }

  void Activate(const QString& session, const QString& id) {
    QDBusMessage s = QDBusMessage::createSignal(kPath, kInterface, QStringLiteral("Activated"));
    s << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(0) << QVariantMap{};
    bus_.send(s);
  }

  struct Bound {
    QString session, id;
    QVariantMap info;
  } bound;
  QStringList calls, sessions, closed;
  int binds = 0;
  uint bindAnswer = 0;

 private:
  static QString SubPath(const QDBusMessage& m, const char* kind, const QString& token) {
    return QStringLiteral("%1/%2/%3/%4").arg(kPath, kind, m.service().mid(1).replace(u'.', u'_'), token);
  }

  void Answer(const QDBusMessage& m, const QDBusConnection& c, const QVariantMap& options,
              const QVariantMap& results, uint response = 0) {
    const QString request = SubPath(m, "request", options.value(QStringLiteral("handle_token")).toString());
    c.send(m.createReply(QVariant::fromValue(QDBusObjectPath(request))));
    QDBusMessage r = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"),
                                                QStringLiteral("Response"));
    r << response << results;
    c.send(r);
  }

  QDBusConnection bus_;
};
// Hears the portal's Activated signals on this process's bus, as the shortcut does: once it has heard
// one, the shortcut's delivery of it is at most a posted event away.
class Listener : public QObject {
  Q_OBJECT
 public:
  Listener() {
    QDBusConnection::sessionBus().connect(QString(), kPath, kInterface, QStringLiteral("Activated"), this,
                                          SLOT(Heard(QDBusMessage)));
  }
  int heard = 0;
 public slots:
  void Heard(const QDBusMessage&) { ++heard; }
};

// The portal has handled every call so far (it answers Get).
bool PortalCaughtUp() {
  return DBusPeerCaughtUp(QDBusConnection::sessionBus(), kService, kPath, kInterface, QStringLiteral("Get"));
}
}  // namespace

class PortalShortcutTest : public QObject {
  Q_OBJECT
 private:
  QDBusConnection portalBus_ =
      QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("portal"));
  std::unique_ptr<FakePortal> portal_;

  void StartPortal() {
    portal_ = std::make_unique<FakePortal>(portalBus_);
    QVERIFY(portalBus_.registerVirtualObject(kPath, portal_.get(), QDBusConnection::SubPath));
    QVERIFY(portalBus_.registerService(kService));
  }

 private slots:
  void cleanup() {
    portalBus_.unregisterService(kService);
    portalBus_.unregisterObject(kPath, QDBusConnection::UnregisterTree);
    portal_.reset();
  }

  void triggerTextsFollowTheShortcutsFormat() {
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Ctrl+Alt+F"))),
             QStringLiteral("CTRL+ALT+f"));
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Shift+Meta+F5"))),
             QStringLiteral("SHIFT+LOGO+F5"));
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Ctrl+7"))), QStringLiteral("CTRL+7"));
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Alt+Space"))),
             QStringLiteral("ALT+space"));
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Ctrl+Home"))),
             QStringLiteral("CTRL+Home"));
    // The keysym's own name, not Qt's short one ("Ins").
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Ctrl+Ins"))),
             QStringLiteral("CTRL+Insert"));
    QCOMPARE(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Alt+F24"))), QStringLiteral("ALT+F24"));
    QVERIFY(PortalShortcut::TriggerText(QKeySequence(QStringLiteral("Ctrl+Left"))).isEmpty());
    QVERIFY(PortalShortcut::TriggerText(QKeySequence()).isEmpty());
  }

  void bindsTheKeyAndOpensOnlyOnItsOwnActivation() {
    StartPortal();
    PortalShortcut s(QDBusConnection::sessionBus());
    QSignalSpy activated(&s, &GlobalShortcut::Activated);
    Listener bus;
    QVERIFY(s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+F"))));
    QTRY_COMPARE(portal_->binds, 1);
    QCOMPARE(portal_->calls.mid(0, 2), (QStringList{"Register", "Get"}));
    QCOMPARE(portal_->bound.id, QStringLiteral("quick-find"));
    QCOMPARE(portal_->bound.info.value("description").toString(), QStringLiteral("クイック検索"));
    QCOMPARE(portal_->bound.info.value("preferred_trigger").toString(), QStringLiteral("CTRL+ALT+f"));
    QCOMPARE(portal_->sessions, QStringList{portal_->bound.session});
    QVERIFY(s.Problem().isEmpty());

    portal_->Activate(portal_->bound.session, QStringLiteral("something-else"));
    portal_->Activate(portal_->bound.session + QStringLiteral("x"), QStringLiteral("quick-find"));
    portal_->Activate(portal_->bound.session, QStringLiteral("quick-find"));
    QTRY_COMPARE(bus.heard, 3);
    QVERIFY(PostedEventsHandled());
    QCOMPARE(activated.count(), 1);

    // The same key again (the settings dialog's OK): nothing is bound anew, nothing closed.
    const qsizetype callsBefore = portal_->calls.size();
    QVERIFY(s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+F"))));
    QVERIFY(PortalCaughtUp());
    QCOMPARE(portal_->calls.mid(callsBefore), (QStringList{"Get", "Get"}));  // the barrier's own
    QCOMPARE(portal_->binds, 1);
    QVERIFY(portal_->closed.isEmpty());

    // Another key: the old session is closed and no longer heard; switching off closes the new one.
    const QString old = portal_->bound.session;
    QVERIFY(s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+G"))));
    QTRY_COMPARE(portal_->binds, 2);
    QCOMPARE(portal_->bound.info.value("preferred_trigger").toString(), QStringLiteral("CTRL+ALT+g"));
    QVERIFY(portal_->bound.session != old);
    QCOMPARE(portal_->closed, QStringList{old});
    portal_->Activate(old, QStringLiteral("quick-find"));
    QTRY_COMPARE(bus.heard, 4);
    QVERIFY(PostedEventsHandled());
    QCOMPARE(activated.count(), 1);
    QVERIFY(s.Set(QKeySequence()));
    QTRY_COMPARE(portal_->closed, (QStringList{old, portal_->bound.session}));
    QVERIFY(s.Problem().isEmpty());
  }

  void aKeyTheFormatCannotNameIsRefusedAtOnce() {
    StartPortal();
    PortalShortcut s(QDBusConnection::sessionBus());
    QVERIFY(!s.Set(QKeySequence(QStringLiteral("Ctrl+Left"))));
    QVERIFY(s.Problem().startsWith(QStringLiteral("このキー（")));
    QVERIFY(PortalCaughtUp());
    QCOMPARE(portal_->binds, 0);
  }

  void aDesktopWithoutThePortalIsToldInTheSettings() {
    PortalShortcut s(QDBusConnection::sessionBus());
    QVERIFY(s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+F"))));  // not known yet
    QTRY_VERIFY(!s.Problem().isEmpty());
    QVERIFY(s.Problem().startsWith(
        QStringLiteral("このデスクトップではグローバルショートカットを登録できません")));
    QVERIFY(!s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+G"))));  // known now: refused at once
    QVERIFY(s.Set(QKeySequence()));
    QVERIFY(s.Problem().isEmpty());
  }

  void aBindingTheUserRefusedIsToldAndItsSessionClosed() {
    StartPortal();
    portal_->bindAnswer = 1;  // the user cancelled the portal's dialog
    PortalShortcut s(QDBusConnection::sessionBus());
    QVERIFY(s.Set(QKeySequence(QStringLiteral("Ctrl+Alt+F"))));
    QTRY_VERIFY(!s.Problem().isEmpty());
    QVERIFY(s.Problem().startsWith(QStringLiteral("デスクトップがショートカットを登録しませんでした")));
    QTRY_COMPARE(portal_->closed, portal_->sessions);
    QCOMPARE(portal_->sessions.size(), 1);
  }
};

QTEST_MAIN(PortalShortcutTest)
#include "PortalShortcut_test.moc"
