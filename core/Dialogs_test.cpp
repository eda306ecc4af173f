#include <sys/stat.h>

#include <QAction>
#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QtTest>
#include <filesystem>
#include <memory>

#include "core/Form1.h"
#include "core/Form4.h"
#include "core/Module1.h"
#include "platform/Autostart.h"
#include "platform/Clipboard.h"
#include "platform/Sjis.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/WindowTestKit.h"

class DialogsTest : public WindowTestKit {
  Q_OBJECT
  std::unique_ptr<Form1> main;

  Form4* OpenSettings() {
    main->PopupMenu()->findChild<QAction*>("mnuSeo")->trigger();
    return OpenWindow<Form4>();
  }
  void Press(Form4* f, QPushButton* b) { QVERIFY(ClickAndWaitGone(f, b)); }

 private slots:
  void init() { StartKit(); }
  void cleanup() {
    main.reset();
    StopKit();
  }

  void settingsShowTheGroupItemsAndSwitches() {
    dir->Write(
        "dnstplus.ini",
        *sjis::Encode(
            "[Data]\r\nDATA1=家族\r\nDATA2=仕事\r\nDATA3=c\r\nDATA5=e\r\nClipen=True\r\nTopview=False\r\n"));
    main = std::make_unique<Form1>();
    Form4* f = OpenSettings();
    QVERIFY(f);
    QVERIFY(ctx->session.SubWinOpen);
    QCOMPARE(f->windowTitle(), QStringLiteral("Dialnest Plus 設定"));
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QStringList names;
    for (QLineEdit* t : f->Text1) names << t->text();
    QCOMPARE(names, (QStringList{"家族", "仕事", "c", "999", "e"}));
    QVERIFY(f->Check1->isChecked());
    QVERIFY(!f->Check2->isChecked());
    QCOMPARE(f->Check1->text(), QStringLiteral("クリップボードにコピーする"));
    QCOMPARE(f->Check2->text(), QStringLiteral("常に手前に表示する"));
    QCOMPARE(f->Command2->text(), QStringLiteral("ｷｬﾝｾﾙ"));
    main->TrayMessage(0x204, QPoint(5, 5));
    QVERIFY(!main->PopupMenu()->isVisible());
    Press(f, f->Command1);  // OK stores the 999 as a name
    QVERIFY(!ctx->session.SubWinOpen);
    QVERIFY(dir->Read("dnstplus.ini").find("DATA4=999\r\n") != std::string::npos);
  }

  void startAtLoginWritesAndRemovesTheLoginEntry() {
#ifndef Q_OS_WIN
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(dir->File("config")));
#endif
    dir->Write("dnstplus.ini", "[Data]\r\nClipen=False\r\nTopview=True\r\n");
    main = std::make_unique<Form1>();
    const std::string ini = dir->Read("dnstplus.ini");
    Form4* f = OpenSettings();
    QCOMPARE(f->Check4->text(), QStringLiteral("ログイン時に起動する"));
    QVERIFY(!f->Check4->isChecked());
    f->Check4->setChecked(true);
    Press(f, f->Command1);
    QVERIFY(autostart::Enabled());
#ifndef Q_OS_WIN
    QCOMPARE(QString::fromStdString(dir->Read("config/autostart/dialnestplus.desktop")),
             QStringLiteral("[Desktop Entry]\nType=Application\nName=Dialnest Plus\n"
                            "Comment=Phone books in the tray and an organiser\n"
                            "Comment[ja]=タスクトレイの電話帳とスケジュール帳\nExec=%1\nIcon=dialnestplus\n"
                            "Terminal=false\nX-GNOME-Autostart-enabled=true\n")
                 .arg(QCoreApplication::applicationFilePath()));
#endif
    QCOMPARE(dir->Read("dnstplus.ini"), ini);  // the entry is the setting, not a value in the file
    f = OpenSettings();
    QVERIFY(f->Check4->isChecked());
    f->Check4->setChecked(false);
    Press(f, f->Command1);
    QVERIFY(!autostart::Enabled());
#ifndef Q_OS_WIN
    QVERIFY(!dir->Exists("config/autostart/dialnestplus.desktop"));
    // Switched off in the desktop's own startup settings: shown off here.
    dir->Write("config/autostart/dialnestplus.desktop", "[Desktop Entry]\nExec=dialnestplus\nHidden=true\n");
    f = OpenSettings();
    QVERIFY(!f->Check4->isChecked());
    Press(f, f->Command2);
    qunsetenv("XDG_CONFIG_HOME");
#endif
  }

  void okWritesOnlyWhatTheUserChanged() {
    dir->Write("dnstplus.ini",
               "[Data]\r\nDATA1=g1\r\nDATA2=g2\r\nDATA3=g3\r\nDATA4=g4\r\nDATA5=g5\r\n"
               "Clipen=False\r\nTopview=True\r\n");
    main = std::make_unique<Form1>();
    Form4* f = OpenSettings();
    // Another program renames group 2 while the dialog is open; OK with nothing changed writes nothing.
    const std::string theirs =
        "[Data]\r\nDATA1=g1\r\nDATA2=Family\r\nDATA3=g3\r\nDATA4=g4\r\nDATA5=g5\r\n"
        "Clipen=False\r\nTopview=True\r\n";
    dir->Write("dnstplus.ini", theirs);
    const auto time = std::filesystem::last_write_time(dir->File("dnstplus.ini"));
    Press(f, f->Command1);
    QCOMPARE(dir->Read("dnstplus.ini"), theirs);
    QVERIFY(std::filesystem::last_write_time(dir->File("dnstplus.ini")) == time);
    // Only the clipboard switch changed: only it is written, group 2 keeps the other program's name.
    f = OpenSettings();
    f->Check1->setChecked(true);
    Press(f, f->Command1);
    QCOMPARE(dir->Read("dnstplus.ini"),
             "[Data]\r\nDATA1=g1\r\nDATA2=Family\r\nDATA3=g3\r\nDATA4=g4\r\n"
             "DATA5=g5\r\nClipen=True\r\nTopview=True\r\n");
  }

  void okWritesTrimmedNamesAndSwitchesTakeEffectAtOnce() {
    main = std::make_unique<Form1>();
    Form4* f = OpenSettings();
    f->Text1[2]->setText(QStringLiteral("  取引先 & 友人  "));
    f->Check1->setChecked(true);
    f->Check2->setChecked(false);
    Press(f, f->Command1);
    QCOMPARE(main->GroupItems().Caption(3), QStringLiteral("取引先 & 友人"));
    QCOMPARE(main->GroupItems().Item(3)->text(), QStringLiteral("取引先 && 友人"));
    QVERIFY(main->GroupItems().Item(1)->isChecked());
    QCOMPARE(main->Clipen.Text(), std::string("True"));
    QCOMPARE(main->Topview.Text(), std::string("False"));
    QCOMPARE(
        dir->Read("dnstplus.ini"),
        *sjis::Encode(
            "[Data]\r\nWidth=5595\r\nHeight=4400\r\nDATA1=グループ1\r\nDATA2=グループ2\r\n"
            "DATA3=取引先 & 友人\r\nDATA4=グループ4\r\nDATA5=グループ5\r\nClipen=True\r\nTopview=False\r\n"));

    // The next entry choice follows the new switch without a restart.
    dir->Write("Teldat1.tel", "[D@TA]\r\nentry\r\n");
    main->GroupItems().Item(1)->trigger();
    SetClipboardText(QStringLiteral("before"));
    main->LetterItems(1).Item(1)->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("entry"));
    f = OpenSettings();
    f->Check1->setChecked(false);
    Press(f, f->Command1);
    SetClipboardText(QStringLiteral("before"));
    main->LetterItems(1).Item(1)->trigger();
    QCOMPARE(ClipboardText(), QStringLiteral("before"));
  }

  void theQuickFindKeyIsWrittenOnlyOnceTheUserChangesIt() {
    main = std::make_unique<Form1>();
    const std::string before = dir->Read("dnstplus.ini");
    Form4* f = OpenSettings();
    QVERIFY(f->Check3->isChecked());  // no FindKey in the file: the default, on
    QCOMPARE(f->Text2->keySequence().toString(QKeySequence::PortableText), QStringLiteral("Ctrl+Alt+F"));
    QVERIFY(f->Text2->isEnabled());
    Press(f, f->Command1);
    QCOMPARE(dir->Read("dnstplus.ini"), before);  // unchanged: no key added

    f = OpenSettings();
    f->Text2->setKeySequence(QKeySequence(QStringLiteral("Ctrl+Shift+K")));
    Press(f, f->Command1);
    QVERIFY(dir->Read("dnstplus.ini").find("\r\nFindKey=Ctrl+Shift+K\r\n") != std::string::npos);

    f = OpenSettings();
    QCOMPARE(f->Text2->keySequence().toString(QKeySequence::PortableText), QStringLiteral("Ctrl+Shift+K"));
    f->Check3->setChecked(false);
    QVERIFY(!f->Text2->isEnabled());
    Press(f, f->Command1);
    QVERIFY(dir->Read("dnstplus.ini").find("\r\nFindKey=\r\n") != std::string::npos);
    f = OpenSettings();
    QVERIFY(!f->Check3->isChecked());
    // The offscreen platform has no key grab: a key switched on again says so in the dialog. Windows
    // registers it as a hot key: the dialog says nothing.
    f->Check3->setChecked(true);
    Press(f, f->Command1);
    f = OpenSettings();
    const bool hotKeys = QSysInfo::kernelType() == QLatin1String("winnt");
    QCOMPARE(f->Label2->text().contains(QStringLiteral("dialnestplus --find")), !hotKeys);
    Press(f, f->Command2);
  }

  void aBlankNameChangesNothing() {
    main = std::make_unique<Form1>();
    const std::string before = dir->Read("dnstplus.ini");
    Form4* f = OpenSettings();
    f->Text1[0]->setText(QStringLiteral("新しい名前"));
    f->Text1[3]->setText(QStringLiteral("   "));
    f->Check1->setChecked(true);
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("文字を入力して下さい"));
    QCOMPARE(rec->records[0].icon, MsgIcon::None);
    QCOMPARE(rec->records[0].buttons, MsgButtons::Ok);
    QVERIFY(f->isVisible());
    QCOMPARE(main->GroupItems().Caption(1), QStringLiteral("グループ1"));
    QCOMPARE(main->Clipen.Text(), std::string("False"));
    QCOMPARE(dir->Read("dnstplus.ini"), before);

    f->Text1[3]->setText(QStringLiteral("顔😀"));  // not carried by code page 932
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QCOMPARE(rec->records.size(), 2);
    QCOMPARE(rec->records[1].text, QStringLiteral("グループ名に使えない文字があります：😀"));
    QCOMPARE(dir->Read("dnstplus.ini"), before);
    Press(f, f->Command2);  // cancel
    QCOMPARE(main->GroupItems().Caption(1), QStringLiteral("グループ1"));
    QCOMPARE(dir->Read("dnstplus.ini"), before);
    QVERIFY(!ctx->session.SubWinOpen);
  }

  void aNameWithALineBreakOrTabIsRefused() {
    main = std::make_unique<Form1>();
    const std::string before = dir->Read("dnstplus.ini");
    Form4* f = OpenSettings();
    for (QString bad : {QStringLiteral("家族\n友人"), QStringLiteral("a\rb"), QStringLiteral("a\tb")}) {
      rec->records.clear();
      f->Text1[1]->setText(bad);
      QTest::mouseClick(f->Command1, Qt::LeftButton);
      QCOMPARE(rec->records.size(), 1);
      QCOMPARE(rec->records[0].text, QStringLiteral("グループ名に改行やタブは使えません"));
      QCOMPARE(rec->records[0].icon, MsgIcon::Error);
      QVERIFY(f->isVisible());
      QCOMPARE(main->GroupItems().Caption(2), QStringLiteral("グループ2"));
      QCOMPARE(dir->Read("dnstplus.ini"), before);
    }
    Press(f, f->Command2);
  }

  void aSettingsFileThatCannotBeWrittenIsToldButTheValuesHoldForThisRun() {
    main = std::make_unique<Form1>();
    const std::string before = dir->Read("dnstplus.ini");
    ::chmod(dir->File("dnstplus.ini").c_str(), 0444);
    Form4* f = OpenSettings();
    f->Text1[0]->setText(QStringLiteral("家族"));
    f->Check1->setChecked(true);
    Press(f, f->Command1);
    QCOMPARE(rec->records.size(), 1);
    // The cause is named, as the other windows name theirs.
    QCOMPARE(rec->records[0].text,
             QStringLiteral("設定を保存できませんでした\n設定ファイル(dnstplus.ini)に書き込めませんでした\n"
                            "アクセスが拒否されました"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Error);
    QCOMPARE(main->GroupItems().Caption(1), QStringLiteral("家族"));
    QCOMPARE(main->Clipen.Text(), std::string("True"));
    QCOMPARE(dir->Read("dnstplus.ini"), before);
    QVERIFY(!ctx->session.SubWinOpen);
  }

  void aFirstStartThatCannotWriteTheSettingsSaysSo() {
    main.reset();
    dir->Write("dnstplus.ini", "");
    ::chmod(dir->File("dnstplus.ini").c_str(), 0444);
    main = std::make_unique<Form1>();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("設定ファイル(dnstplus.ini)に書き込めませんでした\n設定は保存されません"));
    QCOMPARE(main->Topview.Text(), std::string("True"));  // the defaults still hold in memory
  }
};

QTEST_MAIN(DialogsTest)
#include "Dialogs_test.moc"
