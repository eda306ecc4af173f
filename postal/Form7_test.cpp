#include "postal/Form7.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/Form1.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/Twips.h"
#include "postal/PostalResults.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"
#include "testsupport/WindowTestKit.h"

namespace {
std::string SourceLine(const std::string& code, const std::string& pref, const std::string& city,
                       const std::string& town) {
  return Sj("13101,\"100  \",\"" + code + "\",\"ﾄｳｷｮｳﾄ\",\"ﾁﾖﾀﾞｸ\",\"ｲｶﾆｹｲｻｲｶﾞﾅｲﾊﾞｱｲ\",\"" + pref + "\",\"" +
            city + "\",\"" + town + "\",0,0,0,0,0,0\r\n");
}
// A data file of about `lines` lines.
std::string DataFile(int lines) {
  std::string out;
  for (int i = 0; i < lines; ++i)
    out += Sj(std::to_string(1000000 + i) + "  東京都千代田区" + (i % 10 == 0 ? "丸の内" : "神田") +
              std::to_string(i) + "丁目\r\n");
  return out;
}
}  // namespace

class Form7Test : public WindowTestKit {
  Q_OBJECT

  void WaitSearch(Form7& f) {
    QSignalSpy done(&f, &Form7::SearchDone);
    if (f.Searching()) QVERIFY(done.wait(10000));
  }

 private slots:
  void init() { StartKit(); }
  void cleanup() { StopKit(); }

  void firstOpeningConvertsThenLaterOpeningsDoNot() {
    // Published under an upper-case name.
    dir->Write("KEN_ALL.CSV", SourceLine("0600000", "北海道", "札幌市中央区", "以下に掲載がない場合") +
                                  SourceLine("1000005", "東京都", "千代田区", "丸の内（次のビルを除く）") +
                                  "short\r\n" + SourceLine("1000001", "東京都", "千代田区", "千代田"));
    {
      Form7 f;
      QSignalSpy done(&f, &Form7::ConversionDone);
      f.show();
      QVERIFY(f.Converting());
      QCOMPARE(f.windowTitle(), QStringLiteral("データファイルを作成中...しばらくお待ちください"));
      for (QWidget* w : {static_cast<QWidget*>(f.Command1), static_cast<QWidget*>(f.Command2),
                         static_cast<QWidget*>(f.Text1), static_cast<QWidget*>(f.List1)})
        QVERIFY(!w->isEnabled());
      QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::WaitCursor);
      if (!qEnvironmentVariableIsEmpty("DN_SHOTS"))
        f.grab().save(qEnvironmentVariable("DN_SHOTS") + "/postal-converting.png");
      QVERIFY(done.wait(10000));
      QCOMPARE(done.first().first().toBool(), true);
      QCOMPARE(f.windowTitle(), QStringLiteral("郵便番号・住所 検索"));
      QVERIFY(f.Command1->isEnabled() && f.Command2->isEnabled() && f.Text1->isEnabled() &&
              f.List1->isEnabled());
      QVERIFY(!QApplication::overrideCursor());
    }
    QCOMPARE(dir->Read("Ken_all.dat"), Sj("0600000  北海道札幌市中央区以下に掲載がない場合\r\n1000005  "
                                          "東京都千代田区丸の内（次のビルを除く）\r\n"
                                          "1000001  東京都千代田区千代田\r\n"));
    Form7 again;
    QVERIFY(!again.Converting());
    QCOMPARE(again.windowTitle(), QStringLiteral("郵便番号・住所　検索"));
  }

  void aListThatGivesNothingSaysSoAndClosesTheWindow() {
    dir->Write("Ken_all.csv", "not,the,list\r\n");
    QPointer<Form7> f = new Form7;
    f->setAttribute(Qt::WA_DeleteOnClose);
    QSignalSpy done(f.data(), &Form7::ConversionDone);
    f->show();
    QVERIFY(done.wait(10000));
    QCOMPARE(done.first().first().toBool(), false);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("郵便番号データファイルを作成できませんでした"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Error);
    QVERIFY(QTest::qWaitFor([&f] { return f.isNull(); }, 5000));
    QVERIFY(!QApplication::overrideCursor());
    QVERIFY(!dir->Exists("Ken_all.dat"));  // the next opening tries again
  }

  void closingDuringConversionLeavesNoDataFile() {
    std::string big;
    for (int i = 0; i < 20000; ++i)
      big += SourceLine(std::to_string(1000000 + i), "東京都", "千代田区", "町");
    dir->Write("Ken_all.csv", big);
    {
      Form7 f;
      f.show();
      QCoreApplication::processEvents();  // a step or so
      QVERIFY(f.Converting());
      f.close();
      QVERIFY(!f.Converting());
      QVERIFY(!QApplication::overrideCursor());
    }
    QCoreApplication::processEvents();
    QCOMPARE(std::distance(std::filesystem::directory_iterator(dir->Path()), {}), 1);  // only the list
  }

  void searchStatesLabelsAndResults() {
    dir->Write("Ken_all.dat", DataFile(100));
    Form7 f;
    QCOMPARE(f.Command1->text(), QStringLiteral("検索(&S)"));
    QCOMPARE(f.Label1->text(), QString());
    QVERIFY(!f.Searching());
    f.Text1->setText(QStringLiteral(" 丸の内 "));
    f.Command1_Click();
    WaitSearch(f);
    QCOMPARE(f.Label1->text(), QStringLiteral("データ検索終了"));
    QCOMPARE(f.Label2->text(), QStringLiteral("100％"));
    QCOMPARE(f.Command1->text(), QStringLiteral("検索(&S)"));
    QCOMPARE(f.Results()->rowCount(), 10);
    QCOMPARE(f.Results()->Line(0), QStringLiteral("1000000  東京都千代田区丸の内0丁目"));
    QCOMPARE(f.Results()->Line(9), QStringLiteral("1000090  東京都千代田区丸の内90丁目"));

    f.Text1->setText(QStringLiteral("   "));  // blank: every line
    f.Command1_Click();
    WaitSearch(f);
    QCOMPARE(f.Results()->rowCount(), 100);
    f.Text1->setText(QStringLiteral("１０００"));  // full-width digits find no code
    f.Command1_Click();
    WaitSearch(f);
    QCOMPARE(f.Results()->rowCount(), 0);
  }

  void progressGoesThroughEveryEvenTenthAndStopKeepsResults() {
    dir->Write("Ken_all.dat", DataFile(60000));  // a few megabytes: many steps
    Form7 f;
    f.Command1_Click();  // blank text: every line
    QVERIFY(f.Searching());
    QCOMPARE(f.Command1->text(), QStringLiteral("中断"));
    QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
    QStringList seen1{f.Label1->text()}, seen2;
    int rowsWhileSearching = 0;  // found lines are listed step by step, not only at the end
    while (f.Searching()) {
      if (f.Label2->text() == QStringLiteral("40％")) rowsWhileSearching = f.Results()->rowCount();
      QCoreApplication::processEvents();
      if (seen1.isEmpty() || seen1.last() != f.Label1->text()) seen1 << f.Label1->text();
      if (!f.Label2->text().isEmpty() && (seen2.isEmpty() || seen2.last() != f.Label2->text()))
        seen2 << f.Label2->text();
    }
    QCOMPARE(seen2, (QStringList{"20％", "40％", "60％", "80％", "100％"}));
    QCOMPARE(seen1, (QStringList{"データ検索中", "データ検索中.", "データ検索中..", "データ検索中...",
                                 "データ検索中....", "データ検索終了"}));
    QCOMPARE(f.Results()->rowCount(), 60000);
    QVERIFY2(rowsWhileSearching > 0 && rowsWhileSearching < 60000,
             qPrintable(QString::number(rowsWhileSearching)));

    f.Text1->setText(QStringLiteral("神田"));
    f.Command1_Click();
    while (f.Label2->text() != QStringLiteral("40％")) QCoreApplication::processEvents();
    f.Command1_Click();  // 中断
    QCOMPARE(f.Command1->text(), QStringLiteral("検索(&S)"));
    QSignalSpy done(&f, &Form7::SearchDone);
    QVERIFY(done.wait(1000));
    QCOMPARE(f.Label1->text(), QStringLiteral("データ検索終了"));
    QCOMPARE(f.Label2->text(), QStringLiteral("40％"));
    const int kept = f.Results()->rowCount();
    QVERIFY(kept > 0 && kept < 54000);
    QCOMPARE(f.Results()->Line(0), QStringLiteral("1000001  東京都千代田区神田1丁目"));
    QVERIFY(!QApplication::overrideCursor());

    f.Command1_Click();
    QCoreApplication::processEvents();
    f.close();  // closing during a search stops it
    QVERIFY(!f.Searching());
    QVERIFY(!QApplication::overrideCursor());
  }

  void copyMenuOnlyWithASelection() {
    dir->Write("Ken_all.dat", Sj("0600000  北海道札幌市中央区以下に掲載がない場合\r\n"));
    Form7 f;
    f.Command1_Click();
    WaitSearch(f);
    QVERIFY(!f.ShowCopyMenu(QPoint(10, 10)));
    QStringList captions;
    for (QAction* a : f.mnuMENU->actions()) captions << a->text();
    QCOMPARE(captions, (QStringList{"住所をコピー(&J)", "郵便番号をコピー(&U)", "すべてコピー(&C)"}));
    f.List1->setCurrentIndex(f.Results()->index(0));
    QVERIFY(f.ShowCopyMenu(QPoint(10, 10)));
    f.mnuMENU->hide();
    f.mnuCOPY->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("北海道札幌市中央区以下に掲載がない場合"));
    f.mnuYUBIN->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("0600000"));
    f.mnuCOPYA->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("0600000  北海道札幌市中央区以下に掲載がない場合"));
  }

  void aDataFileThatCannotBeReadIsToldNotTakenForAnEmptyList() {
    std::filesystem::create_directory(dir->File("Ken_all.dat"));
    Form7 f;
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("郵便番号データファイル(Ken_all.dat)を読み込めませんでした"));
    QVERIFY(std::filesystem::is_directory(dir->File("Ken_all.dat")));  // nothing made in its place
  }

  void onlyTheWidthChangesAndNotBelowItsMinimum() {
    dir->Write("Ken_all.dat", "");
    Form7 f;
    f.show();
    QCOMPARE(f.OuterWidth(), 6675);
    QCOMPARE(f.OuterHeight(), 4530);
    QCOMPARE(f.Command1->x(), PxX(5600));
    QCOMPARE(f.List1->width(), PxX(5415));
    f.SetOuterWidth(6000);
    QCOMPARE(f.OuterWidth(), 6675);
    f.SetOuterWidth(6675 + 600);
    QCOMPARE(f.Command1->x(), PxX(6200));
    QCOMPARE(f.Command2->x(), PxX(6200));
    QCOMPARE(f.List1->width(), PxX(6015));
    const int h = f.height();
    f.resize(f.width(), h + 60);
    QTRY_COMPARE(f.height(), h);
    ctx->session.CaptionHeight = 26;
    Form7 tall;
    QCOMPARE(tall.OuterHeight(), 4530 + 105);
    QCOMPARE(tall.height(), h);  // the client area keeps its size under a taller caption
    ctx->session.CaptionHeight = 19;
  }

  void withoutAListToSearchTheUserIsToldAndNoWindowOpens() {
    QCOMPARE(Form7::Open(), nullptr);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("郵便番号データファイルがありません"));
    QCOMPARE(rec->records[0].title, QStringLiteral("Dialnest Plus"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Error);
    dir->Write("KEN_ALL.DAT", DataFile(1));  // a list from Windows: any letter case
    std::unique_ptr<Form7> f(Form7::Open());
    QVERIFY(f);
    QCOMPARE(rec->records.size(), 1);
  }

  void trayItemOpensTheWindowWhateverTheNamesCase() {
    Form1 main;
    main.SetWindowFactory(Form1::SubWindow::Postal, [] { return Form7::Open(); });
    dir->Write("ken_all.dat", DataFile(3));
    main.PopupMenu()->findChild<QAction*>("mnuPost")->trigger();
    Form7* opened = OpenWindow<Form7>();
    QVERIFY(opened && opened->isVisible());
    QVERIFY(rec->records.isEmpty());
    QVERIFY(!ctx->session.SubWinOpen);  // the search window does not hold the tray
    opened->Command1_Click();
    WaitSearch(*opened);
    QCOMPARE(opened->Results()->rowCount(), 3);
    // Chosen again: the same window comes to the front, no second one (and no second conversion).
    main.PopupMenu()->findChild<QAction*>("mnuPost")->trigger();
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) windows += qobject_cast<Form7*>(w) != nullptr;
    QCOMPARE(windows, 1);
    QCOMPARE(opened->Results()->rowCount(), 3);
    delete opened;
    main.PopupMenu()->findChild<QAction*>("mnuPost")->trigger();  // after it closed, a new one
    QVERIFY(OpenWindow<Form7>());
    delete OpenWindow<Form7>();
  }

  void theResultListStaysReadableUnderADarkPalette() {
    QPalette dark;
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::Text, QColor(230, 230, 230));
    dark.setColor(QPalette::Window, QColor(45, 45, 45));
    dark.setColor(QPalette::WindowText, QColor(230, 230, 230));
    const QPalette before = QApplication::palette();
    QApplication::setPalette(dark);
    dir->Write("Ken_all.dat", DataFile(1));
    Form7 f;
    const QPalette p = f.List1->palette();
    QApplication::setPalette(before);
    const QColor base = p.color(QPalette::Base), text = p.color(QPalette::Text);
    QVERIFY2(std::abs(base.lightness() - text.lightness()) > 150,
             qPrintable(QStringLiteral("text %1 on %2").arg(text.name(), base.name())));
  }
};

QTEST_MAIN(Form7Test)
#include "Form7_test.moc"
