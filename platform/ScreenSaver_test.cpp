// The alarm's screen saver wake against test peers on a private bus: one that answers, one that never
// does. The window thread must never wait for either.
#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QElapsedTimer>
#include <QtTest>

#include "platform/ScreenSaver.h"
#include "testsupport/DBusBarrier.h"

class Saver : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.ScreenSaver")
 public:
  bool hang = false;
  bool active = true;
  int woken = 0;
  int asked = 0;

 public slots:
  bool GetActive() {
    ++asked;
    if (hang) setDelayedReply(true);  // and never replies
    return active;
  }
  void SimulateUserActivity() { ++woken; }
};

class ScreenSaverTest : public QObject {
  Q_OBJECT
  // The peer on a connection of its own, as another process would be.
  QDBusConnection peer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("peer"));
  Saver saver;

 private slots:
  void initTestCase() {
    QVERIFY(peer.isConnected());
    QVERIFY(peer.registerObject(QStringLiteral("/org/freedesktop/ScreenSaver"), &saver,
                                QDBusConnection::ExportAllSlots));
    QVERIFY(peer.registerService(QStringLiteral("org.freedesktop.ScreenSaver")));
  }

  void anActiveSaverIsAskedToEnd() {
    saver.hang = false;
    saver.active = true;
    screensaver::Wake();
    QTRY_COMPARE(saver.woken, 1);
    saver.active = false;
    screensaver::Wake();
    QTRY_COMPARE(saver.asked, 2);
    QVERIFY(DBusPeerCaughtUp(QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.ScreenSaver"),
                             QStringLiteral("/org/freedesktop/ScreenSaver")));
    QCOMPARE(saver.woken, 1);  // an idle desktop is left alone
  }

  void aSaverThatNeverAnswersHoldsNothingUp() {
    saver.hang = true;
    const int asked = saver.asked;
    QElapsedTimer clock;
    clock.start();
    screensaver::Wake();
    // A blocking call would wait the bus's 25 s here; the window thread goes on at once.
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(saver.asked, asked + 1);
    int ticks = 0;
    QTimer tick;
    connect(&tick, &QTimer::timeout, this, [&ticks] { ++ticks; });
    tick.start(10);
    QTRY_VERIFY(ticks >= 10);  // the event loop kept turning while the question hangs
  }
};

QTEST_MAIN(ScreenSaverTest)
#include "ScreenSaver_test.moc"
