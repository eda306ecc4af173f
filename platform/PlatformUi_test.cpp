#include <QApplication>
#include <QMenu>
#include <QtTest>

#include "platform/Clipboard.h"
#include "platform/TrayIcon.h"
#include "testsupport/MsgBoxRecorder.h"

class PlatformUiTest : public QObject {
  Q_OBJECT
 private slots:
  void trayActivationsBecomeMessageNumbers() {
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::Trigger), 0x201);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::Context), 0x204);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::DoubleClick), 0x203);
    QCOMPARE(TrayIcon::MessageFor(QSystemTrayIcon::MiddleClick), 0x207);
  }

  void handedOffMenuIsWithdrawnWhileUnavailable() {
    QMenu menu;
    TrayIcon xembed(QIcon{});
    xembed.SetMenuHandOffForTest(false);
    xembed.SetMenu(&menu);
    QCOMPARE(xembed.TrayMenu(), nullptr);  // the owner shows it on the right click

    TrayIcon sni(QIcon{});
    sni.SetMenuHandOffForTest(true);
    sni.SetMenu(&menu);
    QCOMPARE(sni.TrayMenu(), &menu);
    sni.SetMenuAvailable(false);
    QCOMPARE(sni.TrayMenu(), nullptr);
    sni.SetMenuAvailable(true);
    QCOMPARE(sni.TrayMenu(), &menu);
  }

  void withoutATrayItKeepsTryingQuietly() {
    if (QSystemTrayIcon::isSystemTrayAvailable()) QSKIP("a tray is available here");
    TrayIcon tray(QIcon{});
    tray.Add();
    QVERIFY(tray.WaitingForTray());
    QVERIFY(!tray.IsShown());
    tray.Remove();
    QVERIFY(!tray.WaitingForTray());
  }

  void clipboardTakesTextUnchanged() {
    SetClipboardText(QStringLiteral("  山田\t03-1234 & co  "));
    QCOMPARE(ClipboardText(), QStringLiteral("  山田\t03-1234 & co  "));
  }

  void msgBoxRecorderRecordsAndAnswers() {
    MsgBoxRecorder rec;
    rec.answers << MsgResult::No;
    QCOMPARE(MsgBox(QStringLiteral("質問"), MsgIcon::Question, MsgButtons::YesNo), MsgResult::No);
    QCOMPARE(MsgBox(QStringLiteral("x")), MsgResult::Ok);
    QCOMPARE(rec.records.size(), 2);
    QCOMPARE(rec.records[0].title, QStringLiteral("Dialnest Plus"));
    QCOMPARE(rec.records[0].icon, MsgIcon::Question);
  }
};

QTEST_MAIN(PlatformUiTest)
#include "PlatformUi_test.moc"
