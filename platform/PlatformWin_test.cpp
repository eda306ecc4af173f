// What the Windows build puts behind the platform interfaces: the hot key, the notification area icon
// and the clipboard, as the program meets them.
#include <windows.h>

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QtTest>
#include <memory>
#include <thread>

#include "platform/Clipboard.h"
#include "platform/GlobalShortcut.h"
#include "platform/TrayIcon.h"

namespace {
// Sees this thread's messages after the program's own filters: once it has seen a message posted
// last, every message posted before it has been dispatched (a thread's queue keeps their order).
class QueueMark : public QAbstractNativeEventFilter {
 public:
  static constexpr UINT kMark = WM_APP + 0x17;
  QueueMark() { QCoreApplication::instance()->installNativeEventFilter(this); }
  ~QueueMark() override { QCoreApplication::instance()->removeNativeEventFilter(this); }
  bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override {
    const MSG* m = static_cast<const MSG*>(message);
    if (m->hwnd == nullptr && m->message == kMark) ++seen;
    return false;
  }
  // Posts a mark and waits until it has come through.
  bool Drained() {
    const int before = seen;
    PostThreadMessageW(GetCurrentThreadId(), kMark, 0, 0);
    return QTest::qWaitFor([this, before] { return seen > before; }, 5000);
  }
  int seen = 0;
};
}  // namespace

class PlatformWinTest : public QObject {
  Q_OBJECT
 private slots:
  void theHotKeyIsRegisteredAndHeard() {
    auto key = GlobalShortcut::Create();
    QSignalSpy heard(key.get(), &GlobalShortcut::Activated);
    QVERIFY(key->Set(QKeySequence(QStringLiteral("Ctrl+Alt+F"))));
    QVERIFY(key->Problem().isEmpty());
    // The system's message for this thread's hot key, as a key press brings it.
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, 0x444E, MAKELPARAM(MOD_CONTROL | MOD_ALT, 'F'));
    QTRY_COMPARE(heard.size(), 1);
    // Another number is another program's key: not ours.
    QueueMark queue;
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, 7, 0);
    QVERIFY(queue.Drained());
    QCOMPARE(heard.size(), 1);
    // Off: nothing registered, nothing heard.
    QVERIFY(key->Set(QKeySequence()));
    PostThreadMessageW(GetCurrentThreadId(), WM_HOTKEY, 0x444E, 0);
    QVERIFY(queue.Drained());
    QCOMPARE(heard.size(), 1);
  }

  void aKeyAnotherProgramHoldsOrNoKeyAtAllIsTold() {
    // Another thread stands for another program: it holds Ctrl+Alt+G until we are done.
    HANDLE registered = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    bool held = false;
    std::thread other([&] {
      held = RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT | MOD_NOREPEAT, 'G');
      SetEvent(registered);
      WaitForSingleObject(done, 10000);
      if (held) UnregisterHotKey(nullptr, 1);
    });
    WaitForSingleObject(registered, 10000);
    auto key = GlobalShortcut::Create();
    const bool ours = key->Set(QKeySequence(QStringLiteral("Ctrl+Alt+G")));
    const QString problem = key->Problem();
    SetEvent(done);
    other.join();
    CloseHandle(registered);
    CloseHandle(done);
    QVERIFY(held);
    QVERIFY(!ours);
    QCOMPARE(problem, QStringLiteral("Ctrl+Alt+G はほかのプログラムが使っています"));
    // A key that cannot be a hot key at all.
    QVERIFY(!key->Set(QKeySequence(Qt::CTRL | Qt::Key_Escape)));
    QVERIFY(key->Problem().startsWith(QStringLiteral("このキー（")));
  }

  void theIconGoesIntoTheNotificationAreaAndComesOut() {
    QPixmap pm(16, 16);
    pm.fill(Qt::blue);
    std::unique_ptr<TrayIcon> tray(TrayIcon::Create(QIcon(pm), nullptr));
    QSignalSpy messages(tray.get(), &TrayIcon::Message);
    tray->SetTip(QStringLiteral("Dialnest Plus"));
    QCOMPARE(tray->Tip(), QStringLiteral("Dialnest Plus"));
    tray->Add();
    QTRY_VERIFY(tray->IsShown());
    QVERIFY(!tray->WaitingForTray());
    tray->Remove();
    QVERIFY(!tray->IsShown());
  }

  void theClipboardTakesTheLineUnchanged() {
    const QString line = QStringLiteral("阿部 太郎\t03-1234-5678 & Co  ");
    QVERIFY(SetClipboardText(line));
    QCOMPARE(ClipboardText(), line);
    QCOMPARE(QGuiApplication::clipboard()->text(), line);
  }
};

QTEST_MAIN(PlatformWinTest)
#include "PlatformWin_test.moc"
