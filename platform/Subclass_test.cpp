#include "platform/Subclass.h"

#include <QEvent>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

namespace {
// A window that counts what reaches its own handling and answers key presses "not handled".
class Counting : public QWidget {
 public:
  int seen = 0;
  QList<int> types;

 protected:
  bool event(QEvent* e) override {
    ++seen;
    types << static_cast<int>(e->type());
    if (e->type() == QEvent::KeyPress) return false;
    return QWidget::event(e);
  }
};
}  // namespace

class SubclassTest : public QObject {
  Q_OBJECT
 private slots:
  void everyEventReachesTheOwnerAndTheWindowOnce() {
    Counting w;
    auto rec = std::make_unique<CSubclass>();
    rec->window = &w;
    QVERIFY(!rec->ProcOrg);
    QVERIFY(rec->CallDefaultProc);
    basSubclass::SubclassWindow(rec.get());
    QVERIFY(rec->ProcOrg);
    QCOMPARE(basSubclass::RegisteredCount(), 1);
    QList<int> seenAtNotification;
    connect(rec.get(), &CSubclass::WndProc, this, [&](int msg, qintptr, qintptr) {
      if (msg == QEvent::User) seenAtNotification << w.seen;
    });
    QEvent user(QEvent::User);
    const int before = w.seen;
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(w.seen, before + 1);
    QCOMPARE(seenAtNotification, QList<int>{before});  // told once, as the event went on to the window

    // The result is the window's own: a key press it refuses comes back unhandled.
    QKeyEvent key(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier);
    QCOMPARE(rec->HandleMessage(&key), false);
    QEvent other(QEvent::User);
    QCOMPARE(rec->HandleMessage(&other), static_cast<QObject&>(w).event(&other));

    basSubclass::UnsubclassWindow(rec.get());
    QVERIFY(!rec->ProcOrg);
    QCOMPARE(basSubclass::RegisteredCount(), 0);
    QSignalSpy after(rec.get(), &CSubclass::WndProc);
    const int removed = w.seen;
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(after.count(), 0);     // no longer reaches the owner
    QCOMPARE(w.seen, removed + 1);  // but still the window
  }

  void anotherFilterOnTheWindowStillSeesItsEvents() {
    // A filter installed before the subclass (a tool tip, an accessibility bridge) is not cut off.
    Counting w;
    struct Spy : QObject {
      int users = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::User) ++users;
        return false;
      }
    } spy;
    w.installEventFilter(&spy);
    CSubclass rec;
    rec.window = &w;
    basSubclass::SubclassWindow(&rec);
    QEvent user(QEvent::User);
    const int before = w.seen;
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(spy.users, 1);
    QCOMPARE(w.seen, before + 1);
    basSubclass::UnsubclassWindow(&rec);
  }

  void aSecondRecordForTheSameWindowChangesNothing() {
    Counting w;
    CSubclass first, second;
    first.window = &w;
    second.window = &w;
    basSubclass::SubclassWindow(&first);
    basSubclass::SubclassWindow(&second);
    QCOMPARE(basSubclass::RegisteredCount(), 1);
    QVERIFY(!second.ProcOrg);
    QSignalSpy a(&first, &CSubclass::WndProc), b(&second, &CSubclass::WndProc);
    QEvent user(QEvent::User);
    const int before = w.seen;
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(w.seen, before + 1);  // handled once, not twice
    QCOMPARE(a.count(), 1);
    QCOMPARE(b.count(), 0);
    basSubclass::UnsubclassWindow(&first);
  }

  void removingWhatIsNotThereChangesNothing() {
    Counting w, other;
    CSubclass installed, stranger;
    installed.window = &w;
    stranger.window = &other;
    basSubclass::SubclassWindow(&installed);
    basSubclass::UnsubclassWindow(&stranger);
    basSubclass::UnsubclassWindow(nullptr);
    QCOMPARE(basSubclass::RegisteredCount(), 1);
    QVERIFY(installed.ProcOrg);
    CSubclass noWindow;
    basSubclass::SubclassWindow(&noWindow);  // no window set: nothing to install
    QCOMPARE(basSubclass::RegisteredCount(), 1);
    basSubclass::UnsubclassWindow(&installed);
  }

  void withoutTheDefaultProcedureOnlyTheOwnerHears() {
    Counting w;
    CSubclass rec;
    rec.window = &w;
    rec.CallDefaultProc = false;
    basSubclass::SubclassWindow(&rec);
    QSignalSpy spy(&rec, &CSubclass::WndProc);
    const int before = w.seen;
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(w.seen, before);
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().at(0).toInt(), static_cast<int>(QEvent::User));
    QCOMPARE(basSubclass::SubclassProc(&w, &user), false);
    basSubclass::UnsubclassWindow(&rec);
  }

  void aWindowCanBeSubclassedAgainAndARecordRemovesItselfWhenDestroyed() {
    Counting w;
    {
      CSubclass rec;
      rec.window = &w;
      basSubclass::SubclassWindow(&rec);
      basSubclass::UnsubclassWindow(&rec);
      CSubclass again;
      again.window = &w;
      basSubclass::SubclassWindow(&again);
      QVERIFY(again.ProcOrg);
      QCOMPARE(basSubclass::RegisteredCount(), 1);
    }  // `again` goes while installed
    QCOMPARE(basSubclass::RegisteredCount(), 0);
    const int before = w.seen;
    QEvent user(QEvent::User);
    QCoreApplication::sendEvent(&w, &user);
    QCOMPARE(w.seen, before + 1);
  }

  void aRealWindowBehavesTheSameSubclassed() {
    // Paint, resize and mouse events of a shown window keep their effect.
    Counting w;
    w.resize(100, 60);
    CSubclass rec;
    rec.window = &w;
    basSubclass::SubclassWindow(&rec);
    w.show();
    QVERIFY(QTest::qWaitForWindowExposed(&w));
    w.resize(140, 80);
    QCOMPARE(w.size(), QSize(140, 80));
    QVERIFY(w.types.contains(QEvent::Resize));
    QVERIFY(w.types.contains(QEvent::Show));
    basSubclass::UnsubclassWindow(&rec);
  }
};

QTEST_MAIN(SubclassTest)
#include "Subclass_test.moc"
