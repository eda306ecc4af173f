// The tray over StatusNotifier (the Linux panels' protocol): the exported menu and the item's clicks;
// the desktop notification a late alarm leaves (on a private bus).
#include <QAction>
#include <QDBusConnection>
#include <QDBusContext>
#include <QElapsedTimer>
#include <QPointer>
#include <QSignalSpy>
#include <QtTest>

#include "core/Form1.h"
#include "core/Form3.h"
#include "core/Icons.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/StatusNotifier.h"
#include "platform/TrayIcon_linux.h"
#include "testsupport/DBusBarrier.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"
#include "testsupport/WindowTestKit.h"

// The desktop's notification service, as a test peer: it keeps what it was asked to show.
class Notifications : public QObject, protected QDBusContext {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
 public:
  QStringList shown;  // "app|icon|summary|body|timeout"
  bool hang = false;

 public slots:
  uint Notify(const QString& app, uint, const QString& icon, const QString& summary, const QString& body,
              const QStringList&, const QVariantMap&, int timeout) {
    shown << QStringLiteral("%1|%2|%3|%4|%5").arg(app, icon, summary, body).arg(timeout);
    if (hang) setDelayedReply(true);  // and never replies
    return 1;
  }
};

class Form1SniTest : public WindowTestKit {
  Q_OBJECT
  QDBusConnection peer = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("peer"));
  Notifications notifications;

  std::unique_ptr<Form1> Start() { return std::make_unique<Form1>(); }
  static sni::StatusNotifierTray* Sni(Form1& f) {
    return static_cast<SessionTray*>(f.Tray())->StatusNotifier();
  }

 private slots:
  void initTestCase() {
    QVERIFY(peer.isConnected());
    QVERIFY(peer.registerObject(QStringLiteral("/org/freedesktop/Notifications"), &notifications,
                                QDBusConnection::ExportAllSlots));
    QVERIFY(peer.registerService(QStringLiteral("org.freedesktop.Notifications")));
  }
  void init() { StartKit(); }
  void cleanup() { StopKit(); }

  // A late alarm is also left with the desktop's notifications; one on time only comes up.
  void aLateAlarmIsAlsoANotificationThatStays() {
    std::filesystem::create_directory(dir->File("Schedule"));
    std::string file;
    for (int d = 1; d <= 31; ++d) file += d == 7 ? "[D@TA]1109:00\r\nmeeting\r\n" : "[D@TA]00\r\n";
    dir->Write("Schedule/Sch2612.dat", file);
    Clock::SetForTest(DateTime{2026, 12, 7, 8, 58, 0});
    auto f = Start();
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 0, 3});
    f->Timer1_Timer();
    QVERIFY(f->isVisible());
    f->Command1_Click();
    f->Timer3_Timer();
    QVERIFY(DBusPeerCaughtUp(QDBusConnection::sessionBus(), QStringLiteral("org.freedesktop.Notifications"),
                             QStringLiteral("/org/freedesktop/Notifications")));
    QVERIFY(notifications.shown.isEmpty());  // on time: the window is enough

    notifications.shown.clear();
    f.reset();
    Clock::SetForTest(DateTime{2026, 12, 7, 8, 58, 0});
    f = Start();
    notifications.hang = true;  // a service that never answers holds nothing up
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 20, 4});
    QElapsedTimer clock;
    clock.start();
    f->Timer1_Timer();
    QVERIFY2(clock.elapsed() < 1000, qPrintable(QString::number(clock.elapsed())));
    QVERIFY(f->isVisible());
    QTRY_COMPARE(notifications.shown,
                 QStringList{QStringLiteral("Dialnest Plus|dialnestplus|Dialnest Plus|"
                                            "9時00分のアラームです\nスケジュールを確認して下さい|0")});
    notifications.hang = false;
    Clock::SetForTest(std::nullopt);
  }

  // The menu a StatusNotifier panel shows: the same tree with labels as stored, inert while a tray window
  // is open, and never a second tray window whichever way a command comes.
  void exportedMenuShowsEntriesAsStoredAndIsInertWhileATrayWindowIsOpen() {
    dir->Write("Teldat1.tel", "[D@TA]\r\ntaro_kato@example.jp & Co\r\n" + Markers(43));
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=g\r\nClipen=True\r\n");
    auto f = Start();
    sni::DBusMenu* menu = Sni(*f)->Menu();
    auto layout = [menu] {
      sni::MenuLayoutItem root;
      menu->GetLayout(0, -1, {}, root);
      return root;
    };
    sni::MenuLayoutItem root = layout();
    QCOMPARE(root.children.size(), 19);
    QCOMPARE(root.children[0].properties.value("label").toString(), QStringLiteral("クイック検索(_F)..."));
    QCOMPARE(root.children[1].properties.value("type").toString(), QStringLiteral("separator"));
    const sni::MenuLayoutItem& a = root.children[2].children[0];
    QCOMPARE(root.children[2].properties.value("label").toString(), QStringLiteral("あ行(_A)"));
    QCOMPARE(a.properties.value("label").toString(), QStringLiteral("あ"));
    QCOMPARE(a.children.size(), 1);
    QCOMPARE(a.children[0].properties.value("label").toString(),
             QStringLiteral("taro__kato@example.jp & Co"));
    QCOMPARE(root.children[13].properties.value("label").toString(), QStringLiteral("番号登録(_I)..."));
    QCOMPARE(root.children[12].properties.value("type").toString(), QStringLiteral("separator"));
    const int entry = a.children[0].id;

    SetClipboardText(QStringLiteral("before"));
    menu->Event(entry, QStringLiteral("clicked"), QDBusVariant(QString()), 0);
    QTRY_COMPARE(ClipboardText(), QStringLiteral("taro_kato@example.jp & Co"));

    int editors = 0;
    QPointer<QWidget> opened;
    f->SetWindowFactory(Form1::SubWindow::Editor, [&editors, &opened] {
      ++editors;
      opened = new QWidget;
      return opened.data();
    });
    const int about = menu->IdOf(f->PopupMenu()->findChild<QAction*>("mnuVer"));
    const int editor = menu->IdOf(f->PopupMenu()->findChild<QAction*>("mnuI"));
    menu->Event(about, QStringLiteral("clicked"), QDBusVariant(QString()), 0);
    QTRY_VERIFY(ctx->session.SubWinOpen);
    QTRY_COMPARE(layout().children.size(), 0);
    QVERIFY(!menu->Available());

    SetClipboardText(QStringLiteral("before"));
    menu->Event(editor, QStringLiteral("clicked"), QDBusVariant(QString()), 0);
    menu->Event(entry, QStringLiteral("clicked"), QDBusVariant(QString()), 0);
    f->PopupMenu()->findChild<QAction*>("mnuI")->trigger();  // a cached menu or a stray shortcut
    f->PopupMenu()->findChild<QAction*>("mnuSeo")->trigger();
    QVERIFY(PostedEventsHandled());
    QCOMPARE(editors, 0);
    QCOMPARE(ClipboardText(), QStringLiteral("before"));
    int open = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (w->isVisible() && (qobject_cast<Form3*>(w) || w->objectName() == "Form4")) ++open;
    QCOMPARE(open, 1);

    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<Form3*>(w)) w->close();
    QTRY_VERIFY(!ctx->session.SubWinOpen);
    QTRY_COMPARE(layout().children.size(), 19);
    menu->Event(editor, QStringLiteral("clicked"), QDBusVariant(QString()), 0);
    QTRY_COMPARE(editors, 1);
    delete opened.data();  // the stand-in editor is not the test's to leak
  }

  void statusNotifierLabelsAndClicks() {
    QCOMPARE(sni::MenuLabel("a_b__c"), QStringLiteral("a__b____c"));
    QCOMPARE(sni::MenuLabel("終了(&Q)"), QStringLiteral("終了(_Q)"));
    QCOMPARE(sni::MenuLabel("A&&B &x &y"), QStringLiteral("A&B _x y"));
    QCOMPARE(sni::MenuLabel("trailing&"), QStringLiteral("trailing"));
    QCOMPARE(sni::MenuLabel("name\t03-1234\tx"), QStringLiteral("name  03-1234\tx"));

    auto f = Start();
    QSignalSpy msgs(f->Tray(), &TrayIcon::Message);
    sni::StatusNotifierItem* item = Sni(*f)->Item();
    item->Activate(640, 480);
    item->ContextMenu(10, 20);
    QCOMPARE(msgs.size(), 2);
    QCOMPARE(msgs[0][0].toInt(), TrayIcon::kLeftDown);
    QCOMPARE(msgs[0][1].toPoint(), QPoint(640, 480));
    QCOMPARE(msgs[1][0].toInt(), TrayIcon::kRightDown);
    QCOMPARE(msgs[1][1].toPoint(), QPoint(10, 20));
    QCOMPARE(item->Title(), QStringLiteral("Dialnest Plus"));
    const sni::IconPixmapList pics = item->IconPixmap();
    QCOMPARE(pics.size(), 6);
    for (const sni::IconPixmap& p : pics) QCOMPARE(p.pixels.size(), p.width * p.height * 4);
    QCOMPARE(item->Menu().path(), QStringLiteral("/MenuBar"));
    for (const sni::IconPixmap& p : sni::PixmapsOf(icons::TrayIcon()))
      QCOMPARE(p.pixels.size(), p.width * p.height * 4);
  }
};

QTEST_MAIN(Form1SniTest)
#include "Form1Sni_test.moc"
