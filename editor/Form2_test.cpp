#include "editor/Form2.h"
#include "testsupport/FailingWrites.h"

#include <sys/stat.h>

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/Form1.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Screen.h"
#include "platform/Sjis.h"
#include "platform/TextFile.h"
#include "platform/Twips.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"
#include "testsupport/WindowTestKit.h"

class Form2Test : public WindowTestKit {
  Q_OBJECT
  std::unique_ptr<Form1> main;

  // Opens the editor the way the tray does.
  Form2* Open() {
    main->PopupMenu()->findChild<QAction*>("mnuI")->trigger();
    return OpenWindow<Form2>();
  }
  void Close(Form2* f) { QVERIFY(ClickAndWaitGone(f, f->Command1[1])); }
  // Enabled state of Text1, List1, Modify, Add, Delete, up, down.
  QString States(Form2* f) {
    QString s;
    for (bool on : {f->Text1->isEnabled(), f->List1->isEnabled(), f->Command1[0]->isEnabled(),
                    f->Command1[3]->isEnabled(), f->Command1[2]->isEnabled(), f->txtUP->isEnabled(),
                    f->txtDWN->isEnabled()})
      s += on ? '1' : '0';
    return s;
  }
  void Pick(Form2* f, int row) { f->List1->setCurrentRow(row); }

 private slots:
  void init() {
    StartKit();
    main = std::make_unique<Form1>();
    ctx->session.CaptionHeight = 19;  // start-up took the style's; the layout cases fix it
    main->SetBookWindowFactory(Form1::SubWindow::Editor, [] { return new Form2; });
  }
  void cleanup() {
    QList<QPointer<Form2>> open;
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<Form2*>(w)) open << f;
    for (auto& f : open) delete f.data();
    main.reset();
    StopKit();
  }

  void opensInItsDesignedState() {
    Form2* f = Open();
    QVERIFY(f);
    QVERIFY(ctx->session.SubWinOpen);
    QCOMPARE(f->windowTitle(), QStringLiteral("DialnestPlus 新規登録・修正 ⇒ グループ1"));
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(States(f), QStringLiteral("0000000"));
    QVERIFY(f->Command1[1]->isEnabled());
    QCOMPARE(f->Text1->text(), QStringLiteral("ここに登録する電話番号等を入力します"));
    QCOMPARE(f->Text1->palette().color(QPalette::Base), QColor(255, 255, 192));
    QCOMPARE(f->Label1->text(), QString());
    QCOMPARE(f->List1->toolTip(), QStringLiteral("登録された内容が表示されます"));
    QStringList bar;
    for (QAction* a : f->menuBar()->actions()) bar << a->text();
    QCOMPARE(bar, (QStringList{"文字選択(&B)", "▲(&U)", "▼(&D)"}));
    QStringList buttons;
    for (QPushButton* b : f->Command1) buttons << b->text();
    QCOMPARE(buttons, (QStringList{"修正(&C)", "閉じる", "削除", "追加(&Z)"}));
    QString letters;
    QStringList rows;
    for (QAction* row : f->menuBar()->actions()[0]->menu()->actions()) {
      rows << row->text();
      for (QAction* l : row->menu()->actions()) letters += l->text();
    }
    QCOMPARE(rows.size(), 10);
    QCOMPARE(rows[7], QStringLiteral("や行(&Y)"));
    QCOMPARE(letters,
             QStringLiteral(
                 "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"));
    QVERIFY(f->findChild<QAction*>("mnuTE"));
    // While it is open both tray clicks do nothing.
    main->TrayMessage(0x204, QPoint(10, 10));
    QVERIFY(!main->PopupMenu()->isVisible());
  }

  void enablingFollowsTheTable() {
    dir->Write("Teldat1.tel", "[D@TA]\r\none\r\ntwo\r\n" + Markers(43));
    Form2* f = Open();
    f->findChild<QAction*>("mnuAA")->trigger();  // choosing a letter
    QCOMPARE(f->Label1->text(), QStringLiteral("あ"));
    QCOMPARE(f->List1->count(), 2);
    QCOMPARE(States(f), QStringLiteral("1100000"));
    QCOMPARE(f->Text1->text(), QString());

    f->Text1->setText(QStringLiteral("three"));  // typing, nothing selected
    QCOMPARE(States(f), QStringLiteral("1101000"));
    f->Text1->setText(QStringLiteral("   "));  // blank input
    QCOMPARE(States(f), QStringLiteral("1100000"));

    Pick(f, 1);  // selecting an entry
    QCOMPARE(f->Text1->text(), QStringLiteral("two"));
    QCOMPARE(States(f), QStringLiteral("1111111"));

    f->Text1->setText(QStringLiteral("TWO"));
    QTest::mouseClick(f->Command1[0], Qt::LeftButton);  // Modify
    QCOMPARE(f->List1->item(1)->text(), QStringLiteral("TWO"));
    QCOMPARE(f->Text1->text(), QStringLiteral("TWO"));
    QCOMPARE(States(f), QStringLiteral("1111011"));
    QVERIFY(f->List1->selectedItems().isEmpty());

    QTest::mouseClick(f->Command1[3], Qt::LeftButton);  // Add
    QCOMPARE(f->List1->count(), 3);
    QCOMPARE(f->Text1->text(), QString());
    QCOMPARE(States(f), QStringLiteral("1100011"));

    Pick(f, 0);
    QTest::mouseClick(f->Command1[2], Qt::LeftButton);  // Delete
    QCOMPARE(f->List1->count(), 2);
    QCOMPARE(f->List1->item(0)->text(), QStringLiteral("TWO"));
    QCOMPARE(States(f), QStringLiteral("1100000"));
  }

  void leftoverCommandsDoNothingAfterALetterChange() {
    dir->Write("Teldat1.tel", "[D@TA]\r\na\r\nb\r\n[D@TA]\r\nc\r\n" + Markers(42));
    Form2* f = Open();
    f->ReadList(1);
    Pick(f, 0);
    f->ReadList(2);
    QCOMPARE(States(f), QStringLiteral("1100111"));
    f->txtUP->trigger();
    f->txtDWN->trigger();
    QTest::mouseClick(f->Command1[2], Qt::LeftButton);
    QCOMPARE(f->List1->count(), 1);
    QCOMPARE(f->List1->item(0)->text(), QStringLiteral("c"));
  }

  void arrowsMoveTheSelectedEntry() {
    dir->Write("Teldat1.tel", "[D@TA]\r\na\r\nb\r\nc\r\n" + Markers(43));
    Form2* f = Open();
    f->ReadList(1);
    Pick(f, 0);
    f->txtDWN->trigger();
    f->txtDWN->trigger();
    QCOMPARE(f->List1->item(2)->text(), QStringLiteral("a"));
    QCOMPARE(f->List1->currentRow(), 2);
    QCOMPARE(f->Text1->text(), QStringLiteral("a"));
    f->txtDWN->trigger();  // already last
    f->txtUP->trigger();
    QCOMPARE(f->List1->currentRow(), 1);
    QCOMPARE(f->List1->item(0)->text(), QStringLiteral("b"));
  }

  void aClickOnTheSelectedEntryRunsTheSelectionAgain() {
    dir->Write("Teldat1.tel", "[D@TA]\r\na\r\nb\r\n" + Markers(43));
    Form2* f = Open();
    f->ReadList(1);
    f->Text1->setText(QStringLiteral("a"));  // the input already equals the entry
    QVERIFY(!f->Command1[0]->isEnabled());
    const QRect r = f->List1->visualItemRect(f->List1->item(0));
    QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(f->Command1[0]->isEnabled());  // Modify follows the selection although the text did not change
    f->Text1->setText(QStringLiteral("edited"));
    QTest::mouseClick(f->List1->viewport(), Qt::LeftButton, {}, r.center());  // the same entry again
    QCOMPARE(f->Text1->text(), QStringLiteral("a"));
  }

  void entriesLongerThanALineEditsDefaultLimitSurviveModify() {
    const std::string longEntry(40000, 'x');
    dir->Write("Teldat1.tel", "[D@TA]\r\n" + longEntry + "\r\n" + Markers(43));
    Form2* f = Open();
    f->ReadList(1);
    Pick(f, 0);
    QCOMPARE(f->Text1->text().size(), 40000);
    f->Text1->setText(f->Text1->text() + "y");
    f->Command1[0]->click();
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\n" + longEntry + "y\r\n" + Markers(43));
  }

  void closingSavesAndTheTrayShowsTheNewEntryAtOnce() {
    main->Clipen = settings::Switch("True");
    Form2* f = Open();
    f->ReadList(6);  // か
    f->Text1->setText(QStringLiteral("加藤\t090-1111-2222"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), Markers(6) + Sj("加藤\t090-1111-2222") + "\r\n" + Markers(38));
    QVERIFY(!ctx->session.SubWinOpen);
    QCOMPARE(main->LetterItems(6).Caption(1), QStringLiteral("加藤\t090-1111-2222"));
    main->LetterItems(6).Item(1)->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("加藤\t090-1111-2222"));
  }

  void closingUnchangedWritesNothing() {
    Form2* f = Open();
    Close(f);
    QVERIFY(!dir->Exists("Teldat1.tel"));
    QVERIFY(!ctx->session.SubWinOpen);
    // A book only looked at (a letter chosen, an entry picked) and an unchanged size: no file rewritten.
    const std::string book = Markers(1) + Sj("阿部\t03") + "\r\n" + Markers(43);
    dir->Write("Teldat1.tel", book);
    const std::string ini = dir->Read("dnstplus.ini");
    const auto bookTime = std::filesystem::last_write_time(dir->File("Teldat1.tel"));
    const auto iniTime = std::filesystem::last_write_time(dir->File("dnstplus.ini"));
    f = Open();
    f->ReadList(1);
    Pick(f, 0);
    f->ReadList(2);
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), book);
    QCOMPARE(dir->Read("dnstplus.ini"), ini);
    QVERIFY(std::filesystem::last_write_time(dir->File("Teldat1.tel")) == bookTime);
    QVERIFY(std::filesystem::last_write_time(dir->File("dnstplus.ini")) == iniTime);
    QVERIFY(rec->records.isEmpty());
  }

  void aBookChangedByAnotherProgramIsNeverOverwrittenSilently() {
    const std::string theirs = Markers(1) + "Bravo\r\n" + Markers(43);
    auto editWhileReplaced = [&]() {
      dir->Write("Teldat1.tel", Markers(44));
      Form2* f = Open();
      f->ReadList(1);
      f->Text1->setText(QStringLiteral("Alpha"));
      QTest::mouseClick(f->Command1[3], Qt::LeftButton);
      // A synchroniser replaces the file by rename while the editor holds the change.
      dir->Write("Teldat1.tel.sync", theirs);
      std::filesystem::rename(dir->File("Teldat1.tel.sync"), dir->File("Teldat1.tel"));
      return f;
    };
    // The default (Cancel): both kept, the window stays with its change, asked again at the next close.
    Form2* f = editWhileReplaced();
    rec->answers = {MsgResult::Cancel};
    QTest::mouseClick(f->Command1[1], Qt::LeftButton);
    QVERIFY(f->isVisible());
    QCOMPARE(rec->records.size(), 1);
    QVERIFY(rec->records[0].text.startsWith(QStringLiteral("Teldat1.tel はこのウィンドウで開いた後に")));
    QCOMPARE(rec->records[0].buttons, MsgButtons::YesNoCancel);
    QCOMPARE(dir->Read("Teldat1.tel"), theirs);
    // No: the other program's book stays and the menus show it.
    rec->answers = {MsgResult::No};
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), theirs);
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("Bravo"));
    // Yes: the window's book replaces it.
    f = editWhileReplaced();
    rec->answers = {MsgResult::Yes};
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), Markers(1) + "Alpha\r\n" + Markers(43));
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("Alpha"));
  }

  void layoutAtCaption19() {
    Form2* f = Open();
    QCOMPARE(f->OuterWidth(), 5595);
    QCOMPARE(f->OuterHeight(), 4400);
    QCOMPARE(f->List1->height(), PxY(2760));
    QCOMPARE(f->Command1[1]->y(), PxY(3270));
    QCOMPARE(f->Command1[1]->x(), PxY(4590));

    const int textW = f->Text1->width(), buttonX = f->Command1[0]->x(), labelX = f->Label1->x();
    f->SetOuterSize(5595 + 600, 4400);
    QCOMPARE(f->Text1->width(), textW + PxY(600));
    QCOMPARE(f->List1->width(), textW + PxY(600));
    QCOMPARE(f->Command1[0]->x(), buttonX + PxY(600));
    QCOMPARE(f->Label1->x(), labelX + PxY(600));
    QCOMPARE(f->Text1->x(), PxY(75));

    f->SetOuterSize(6195, 3990);  // below 4000: back to 4400, not 4000
    QCOMPARE(f->OuterHeight(), 4400);
    f->resize(f->width(), 120);  // a drag far below the minimum
    QTRY_COMPARE(f->OuterHeight(), 4400);
    f->SetOuterSize(6195, 5000);
    QCOMPARE(f->List1->height(), PxY(3360));
    Close(f);
    QVERIFY(dir->Read("dnstplus.ini").find("Width=6195\r\nHeight=5000\r\n") != std::string::npos);
  }

  void layoutAtCaption26AndTheHeightDoesNotCreep() {
    ctx->session.CaptionHeight = 26;
    Form2* f = Open();
    QCOMPARE(f->OuterHeight(), 4505);
    QCOMPARE(f->Command1[1]->y(), PxY(4505 - 1235));
    QCOMPARE(f->List1->height(), PxY(2760));  // the inner area, list included, keeps its size
    QCOMPARE(f->List1->geometry().bottom() < f->centralWidget()->height(), true);
    Close(f);
    QVERIFY(dir->Read("dnstplus.ini").find("Height=4400\r\n") != std::string::npos);
    f = Open();
    QCOMPARE(f->OuterHeight(), 4505);
    Close(f);
    QVERIFY(dir->Read("dnstplus.ini").find("Height=4400\r\n") != std::string::npos);
  }

  void aStoredSizeThatIsNotANumberFallsBackToTheDefault() {
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=g\r\nWidth=abc\r\n");  // Height missing
    dir->Write("Teldat1.tel", "[D@TA]\r\nkeep\r\n" + Markers(43));
    Form2* f = Open();
    QCOMPARE(f->OuterWidth(), 5595);
    QCOMPARE(f->OuterHeight(), 4400);
    f->ReadList(1);
    QCOMPARE(f->List1->count(), 1);  // the file was still read
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nkeep\r\n" + Markers(43));
  }

  void aFailedSaveKeepsTheWindowAndTheEdits() {
    dir->Write("Teldat1.tel", "[D@TA]\r\nold\r\n" + Markers(43));
    ::chmod(dir->File("Teldat1.tel").c_str(), 0444);
    Form2* f = Open();
    f->ReadList(1);
    f->Text1->setText(QStringLiteral("new"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    rec->answers << MsgResult::No;  // keep editing
    f->close();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("電話帳ファイル(Teldat1.tel)"
                            "に書き込めませんでした\nアクセスが拒否されました\n変更を保存せずに閉じますか？\n"
                            "（いいえ：編集を続けます。もう一度閉じると保存し直します）"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Question);
    QCOMPARE(rec->records[0].buttons, MsgButtons::YesNo);
    QVERIFY(f->isVisible());
    QVERIFY(ctx->session.SubWinOpen);
    QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nold\r\n" + Markers(43));
    ::chmod(dir->File("Teldat1.tel").c_str(), 0644);
    Close(f);  // closing again retries
    QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nold\r\nnew\r\n" + Markers(43));
  }

  void aFailedSaveCanBeLeftWithoutSavingAndTheTrayLivesAgain() {
    dir->Write("Teldat1.tel", "[D@TA]\r\nold\r\n" + Markers(43));
    ::chmod(dir->File("Teldat1.tel").c_str(), 0444);
    main->GroupItems().Item(1)->trigger();  // the tray shows the file
    Form2* f = Open();
    f->ReadList(1);
    f->Text1->setText(QStringLiteral("new"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    rec->answers << MsgResult::Yes;
    QPointer<Form2> guard(f);
    f->close();
    QVERIFY(QTest::qWaitFor([&guard] { return guard.isNull(); }, 5000));
    QVERIFY(!ctx->session.SubWinOpen);
    QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nold\r\n" + Markers(43));
    // The tray's menus still show the file as it is, and work again.
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("old"));
  }

  void aFailedWriteAtAnyStepKeepsThePhoneBook() {
    namespace fault = textfile::fault;
    for (auto step : {fault::Step::Write, fault::Step::Sync, fault::Step::Rename}) {
      dir->Write("Teldat1.tel", "[D@TA]\r\nold\r\n" + Markers(43));
      Form2* f = Open();
      f->ReadList(1);
      f->Text1->setText(QStringLiteral("new"));
      QTest::mouseClick(f->Command1[3], Qt::LeftButton);
      fault::Inject(step);
      rec->answers << MsgResult::No;
      f->close();
      fault::Clear();
      QVERIFY(f->isVisible());
      QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nold\r\n" + Markers(43));
      Close(f);
      QCOMPARE(dir->Read("Teldat1.tel"), "[D@TA]\r\nold\r\nnew\r\n" + Markers(43));
    }
  }

  void aDamagedFileIsShownButNeverSaved() {
    const std::string damaged =
        "[D@TA]\r\nok\r\n\x82\x20"
        "bad\r\n" +
        Markers(43);
    dir->Write("Teldat1.tel", damaged);
    Form2* f = Open();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(
        rec->records[0].text,
        QStringLiteral(
            "電話帳ファイル(Teldat1.tel)を正しく読み込めませんでした\nこのグループの変更は保存されません"));
    f->ReadList(1);
    f->Text1->setText(QStringLiteral("x"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    Close(f);
    QCOMPARE(dir->Read("Teldat1.tel"), damaged);
  }

  void textCodePage932CannotCarryIsRefused() {
    Form2* f = Open();
    f->ReadList(1);
    f->Text1->setText(QStringLiteral("笑顔 😀"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    QCOMPARE(f->List1->count(), 0);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("この文字は登録できません：😀"));
    QCOMPARE(f->Text1->text(), QStringLiteral("笑顔 😀"));  // kept for correcting
    f->Text1->setText(QStringLiteral("[D@TA]"));
    QTest::mouseClick(f->Command1[3], Qt::LeftButton);
    QCOMPARE(f->List1->count(), 0);
    QCOMPARE(rec->records.size(), 2);
  }
};

QTEST_MAIN(Form2Test)
#include "Form2_test.moc"
