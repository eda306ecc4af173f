// The data-control clipboard against a real compositor (a headless sway of the test's own, see
// tests/in_sway.sh): what is set reads back exactly in other clients, and a clipboard owner that never
// answers holds the window thread up for no longer than a timer tick.
#include <signal.h>

#include <QElapsedTimer>
#include <QProcess>
#include <QtTest>

#include "platform/WaylandClipboard.h"

namespace {

// The clipboard as another Wayland client reads it; the event loop runs meanwhile (we may be the owner).
QByteArray Paste() {
  QProcess p;
  p.start(QStringLiteral("wl-paste"),
          {QStringLiteral("-n"), QStringLiteral("-t"), QStringLiteral("text/plain;charset=utf-8")});
  if (!p.waitForStarted()) return "(no wl-paste)";
  if (!QTest::qWaitFor([&p] { return p.state() == QProcess::NotRunning; }, 5000)) {
    p.kill();
    p.waitForFinished();
    return "(wl-paste hung)";
  }
  return p.readAllStandardOutput();
}

// The longest pause between the ticks of a 10 ms timer while `until` is false.
qint64 LongestPause(const std::function<bool()>& until, int withinMs) {
  QElapsedTimer clock;
  clock.start();
  qint64 last = 0;
  qint64 longest = 0;
  QTimer tick;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    longest = std::max(longest, clock.elapsed() - last);
    last = clock.elapsed();
  });
  tick.start(10);
  while (!until() && clock.elapsed() < withinMs)
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
  return std::max(longest, clock.elapsed() - last);
}

}  // namespace

class WaylandClipboardTest : public QObject {
  Q_OBJECT
  wlclip::DataControl* dc = nullptr;
  const QByteArray line = QStringLiteral("田中\t03-1234-5678").toUtf8();

 private slots:
  void initTestCase() {
    QVERIFY2(qEnvironmentVariableIsSet("WAYLAND_DISPLAY"), "run by tests/in_sway.sh");
    dc = wlclip::Session();
    QVERIFY(dc);
    const QByteArray protocol = dc->ProtocolName();
    QVERIFY2(protocol == "zwlr_data_control_manager_v1" || protocol == "ext_data_control_manager_v1",
             protocol);
  }

  void aCopyLandsExactlyWithoutWaiting() {
    int landed = -1;
    QElapsedTimer clock;
    clock.start();
    dc->SetTextThen(line, [&landed](bool ok) { landed = ok; });
    QVERIFY2(clock.elapsed() < 250, qPrintable(QString::number(clock.elapsed())));
    QTRY_COMPARE(landed, 1);
    QCOMPARE(Paste(), line);
    // The blocking forms agree.
    QVERIFY(dc->SetText("second"));
    QCOMPARE(dc->Text(), QByteArray("second"));
    QCOMPARE(Paste(), QByteArray("second"));
  }

  void anOwnerThatNeverAnswersStallsNothing() {
    QProcess owner;
    owner.start(QStringLiteral("wl-copy"), {QStringLiteral("--foreground"), QStringLiteral("held")});
    QVERIFY(owner.waitForStarted());
    QTRY_COMPARE(Paste(), QByteArray("held"));
    QTRY_COMPARE(dc->Text(), QByteArray("held"));  // our own connection has the owner's selection
    QVERIFY(::kill(static_cast<pid_t>(owner.processId()), SIGSTOP) == 0);

    bool called = false;
    QByteArray got = "unset";
    qint64 answeredAfter = -1;
    QElapsedTimer clock;
    clock.start();
    dc->TextThen([&](const QByteArray& text) {
      called = true;
      got = text;
      answeredAfter = clock.elapsed();
    });
    QVERIFY2(clock.elapsed() < 50, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(!called);
    const qint64 pause = LongestPause([&called] { return called; }, 3000);
    QVERIFY(called);
    QCOMPARE(got, QByteArray());  // given up, nothing made up
    QVERIFY2(answeredAfter >= 900 && answeredAfter < 2000, qPrintable(QString::number(answeredAfter)));
    QVERIFY2(pause < 200, qPrintable(QString::number(pause)));

    // A copy over the stopped owner still lands, and reads back.
    int landed = -1;
    dc->SetTextThen(line, [&landed](bool ok) { landed = ok; });
    QTRY_COMPARE(landed, 1);
    QCOMPARE(Paste(), line);
    ::kill(static_cast<pid_t>(owner.processId()), SIGCONT);
    owner.kill();
    owner.waitForFinished();
  }
};

QTEST_GUILESS_MAIN(WaylandClipboardTest)
#include "WaylandClipboard_test.moc"
