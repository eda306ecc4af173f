#include "find/QuickFind.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTreeView>
#include <QtTest>
#include <memory>

#include "core/Form1.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Sjis.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/WindowTestKit.h"

class QuickFindTest : public WindowTestKit {
  Q_OBJECT
  std::unique_ptr<Form1> main;

  // A group file with `lines` under letter `k` (1..44), in code page 932.
  std::string Book(int k, const std::vector<std::string>& lines) {
    std::string s;
    for (int i = 1; i <= 44; ++i) {
      s += "[D@TA]\r\n";
      if (i == k)
        for (const std::string& l : lines) s += l + "\r\n";
    }
    return *sjis::Encode(s);
  }

  QuickFind* Open(bool waitForTheBooks = true) {
    main->PopupMenu()->findChild<QAction*>("mnuFind")->trigger();
    QuickFind* f = OpenWindow<QuickFind>();
    // The books are read off the window thread once it is shown.
    if (f && waitForTheBooks && !QTest::qWaitFor([f] { return f->Loaded(); }, 5000)) return nullptr;
    return f;
  }

  static QStringList Rows(QuickFind* f) {
    QStringList out;
    QAbstractItemModel* m = f->List1->model();
    for (int r = 0; r < m->rowCount(); ++r)
      out << QStringLiteral("%1|%2|%3|%4")
                 .arg(m->index(r, 0).data().toString(), m->index(r, 1).data().toString(),
                      m->index(r, 2).data().toString(), m->index(r, 3).data().toString());
    return out;
  }

 private slots:
  void init() {
    StartKit();
    dir->Write("dnstplus.ini",
               *sjis::Encode("[Data]\r\nDATA1=家族\r\nDATA2=仕事\r\nDATA3=c\r\nDATA4=d\r\nDATA5=e\r\n"
                             "Clipen=False\r\nTopview=True\r\n"));
    dir->Write("Teldat1.tel", Book(16, {"田中 一郎\t03-1234-5678", "高橋 花子\t090-1111-2222"}));
    dir->Write("Teldat2.tel", Book(13, {"ｽｽﾞｷ ｼﾞﾛｳ\t045-987-6543", "たなか歯科"}));
    main = std::make_unique<Form1>();
    main->SetWindowFactory(Form1::SubWindow::Find, [] { return new QuickFind; });
  }
  void cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (qobject_cast<QuickFind*>(w)) delete w;
    main.reset();
    StopKit();
  }

  void typingListsHitsWithGroupAndLetterAndEnterCopiesTheExactLine() {
    QuickFind* f = Open();
    QVERIFY(f);
    QCOMPARE(f->windowTitle(), QStringLiteral("クイック検索"));
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QVERIFY(!ctx->session.SubWinOpen);  // the tray stays usable beside it
    QCoreApplication::processEvents();  // the files are read right after showing
    QVERIFY(Rows(f).isEmpty());         // an empty box shows nothing
    QVERIFY(f->Label1->isHidden());
    QTest::keyClicks(f->Text1, QStringLiteral("tanaka"));
    // 田中 has no kana in its line: it comes by its reading, which the row shows, after the direct hits
    // and before the rest of its letter.
    QCOMPARE(Rows(f), (QStringList{"たなか歯科||仕事|す", "田中 一郎  03-1234-5678|たなか いちろう|家族|た",
                                   "高橋 花子  090-1111-2222||家族|た"}));
    QCOMPARE(f->List1->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("よみ"));
    QCOMPARE(f->List1->model()->index(1, 0).data(Qt::ToolTipRole).toString(),
             QStringLiteral("よみ「たなか いちろう」で見つかりました"));
    QVERIFY(f->List1->model()->index(0, 0).data(Qt::ToolTipRole).isNull());
    QCOMPARE(f->List1->currentIndex().row(), 0);
    QTest::keyClick(f->Text1, Qt::Key_Down);
    QTest::keyClick(f->Text1, Qt::Key_Down);
    QTest::keyClick(f->Text1, Qt::Key_Down);  // stays on the last
    QCOMPARE(f->List1->currentIndex().row(), 2);
    QTest::keyClick(f->Text1, Qt::Key_Up);
    QCOMPARE(f->List1->currentIndex().row(), 1);
    SetClipboardText(QStringLiteral("before"));
    QPointer<QuickFind> guard(f);
    QTest::keyClick(f->Text1, Qt::Key_Return);
    QCOMPARE(ClipboardText(), QStringLiteral("田中 一郎\t03-1234-5678"));  // the tab kept, Clipen or not
    QTRY_VERIFY(guard.isNull());
  }

  void digitsAndWidthsFindTheirEntriesAndEscCopiesNothing() {
    QuickFind* f = Open();
    QTest::keyClicks(f->Text1, QStringLiteral("1234 5678"));
    QCOMPARE(Rows(f), (QStringList{"田中 一郎  03-1234-5678||家族|た"}));
    f->Text1->setText(QStringLiteral("スズキ"));  // then the rest of す
    QCOMPARE(Rows(f), (QStringList{"ｽｽﾞｷ ｼﾞﾛｳ  045-987-6543||仕事|す", "たなか歯科||仕事|す"}));
    f->Text1->setText(QStringLiteral("nothing here"));
    QVERIFY(Rows(f).isEmpty());
    QTest::keyClick(f->Text1, Qt::Key_Return);  // nothing selected: nothing happens
    QVERIFY(f->isVisible());
    SetClipboardText(QStringLiteral("before"));
    QPointer<QuickFind> guard(f);
    QTest::keyClick(f->Text1, Qt::Key_Escape);
    QTRY_VERIFY(guard.isNull());
    QCOMPARE(ClipboardText(), QStringLiteral("before"));
  }

  void oneWindowAtATimeThatReadsTheFilesAsTheyAreNow() {
    QuickFind* f = Open();
    QTest::keyClicks(f->Text1, QStringLiteral("sato"));
    QVERIFY(Rows(f).isEmpty());
    main->OpenQuickFind();
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) windows += qobject_cast<QuickFind*>(w) ? 1 : 0;
    QCOMPARE(windows, 1);
    delete f;
    // A group saved a moment ago is found by the next window.
    dir->Write("Teldat3.tel", Book(11, {"佐藤 さとう"}));
    f = Open();
    QTest::keyClicks(f->Text1, QStringLiteral("sato"));
    QCOMPARE(Rows(f), (QStringList{"佐藤 さとう||c|さ"}));
  }

  void losingTheFocusToAnotherWindowCloses() {
    QuickFind* f = Open(false);
    QPointer<QuickFind> guard(f);
    QEvent deactivate(QEvent::WindowDeactivate);
    QApplication::sendEvent(f, &deactivate);  // never active yet (a desktop still placing it): stays
    QVERIFY(f->isVisible());
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(f, &activate);
    QApplication::sendEvent(f, &deactivate);
    QTRY_VERIFY(guard.isNull());
  }

  void whatIsTypedWhileTheBooksAreReadIsSearchedOnceTheyAreIn() {
    dir->Write("Teldat3.tel", Book(11, {"佐藤 さとう"}));
    QuickFind* f = Open(false);
    QVERIFY(!f->Loaded());  // shown first: the books come after
    f->Text1->setText(QStringLiteral("sato"));
    QTRY_VERIFY(f->Loaded());
    QCOMPARE(Rows(f), (QStringList{"佐藤 さとう||c|さ"}));
  }

  void doubleClickCopies() {
    QuickFind* f = Open();
    QTest::keyClicks(f->Text1, QStringLiteral("090"));
    SetClipboardText(QStringLiteral("before"));
    QPointer<QuickFind> guard(f);
    emit f->List1->doubleClicked(f->List1->model()->index(0, 0));
    QCOMPARE(ClipboardText(), QStringLiteral("高橋 花子\t090-1111-2222"));
    QTRY_VERIFY(guard.isNull());
  }

  void unreadableGroupsAreNamedAndTheRestIsSearched() {
    QVERIFY(QDir().mkdir(QString::fromStdString(dir->File("Teldat4.tel"))));              // a folder
    dir->Write("Teldat5.tel", "stray line before any marker\r\n[D@TA]\r\n\x93\x63\r\n");  // damaged
    const std::string before5 = dir->Read("Teldat5.tel");
    QuickFind* f = Open();
    QTRY_VERIFY(!f->Label1->isHidden());  // read right after the window is shown
    QCOMPARE(f->Label1->text(),
             QStringLiteral("読み込めなかったグループがあります：d（Teldat4.tel）、e（Teldat5.tel）"));
    f->Text1->setText(QStringLiteral("田中"));
    QCOMPARE(Rows(f).size(), 1);
    QCOMPARE(dir->Read("Teldat5.tel"), before5);  // nothing is written
  }
};

QTEST_MAIN(QuickFindTest)
#include "QuickFind_test.moc"
