#include "core/Form1.h"
#include "core/Help.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>
#include <chrono>
#include <filesystem>
#include <memory>

#include "core/DataFiles.h"
#include "core/Form3.h"
#include "core/Module1.h"
#include "platform/Clipboard.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/Sjis.h"
#include "platform/TrayIcon.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestFiles.h"
#include "testsupport/TestText.h"
#include "testsupport/WindowTestKit.h"

namespace {
QStringList Texts(QMenu* m) {
  QStringList out;
  for (QAction* a : m->actions()) out << (a->isSeparator() ? QStringLiteral("-") : a->text());
  return out;
}
}  // namespace

class Form1Test : public WindowTestKit {
  Q_OBJECT

  std::unique_ptr<Form1> Start() { return std::make_unique<Form1>(); }
  void RightClick(Form1& f) { f.TrayMessage(TrayIcon::kRightDown, QPoint(500, 700)); }

 private slots:
  void init() { StartKit(); }
  void cleanup() { StopKit(); }

  void startUpRemovesTheTemporaryFilesOfInterruptedSaves() {
    std::filesystem::create_directories(dir->File("Schedule"));
    const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::minutes(5);
    // Whatever their age (one copy runs per folder), whatever the case of a name copied from Windows.
    for (const char* name : {"Teldat1.tel.Ab12Cd", "freememo.dat.x0x0x0", "Schedule/Sch2612.dat.Zz99yy",
                             "notes.txt.Ab12Cd", "Teldat1.tel.young1", "TODO.DAT.Qq11Ww"}) {
      dir->Write(name, "partial");
      if (std::string_view(name) != "Teldat1.tel.young1")
        std::filesystem::last_write_time(dir->File(name), old);
    }
    // A phone book linked to another folder (a synchronised one) is saved there: so is its leftover.
    TempDir synced;
    synced.Write("book.tel", "[D@TA]\r\n");
    synced.Write("book.tel.Ab12Cd", "partial");
    synced.Write("other.tel.Ab12Cd", "not ours");
    const bool linked = testfiles::SymbolicLink(synced.File("book.tel"), dir->File("Teldat2.tel"));
    auto f = Start();
    QVERIFY(!dir->Exists("Teldat1.tel.Ab12Cd"));
    QVERIFY(!dir->Exists("freememo.dat.x0x0x0"));
    QVERIFY(!dir->Exists("Schedule/Sch2612.dat.Zz99yy"));
    QVERIFY(!dir->Exists("Teldat1.tel.young1"));
    QVERIFY(!dir->Exists("TODO.DAT.Qq11Ww"));
    QVERIFY(dir->Exists("notes.txt.Ab12Cd"));  // not a name of ours
    if (linked) {
      QVERIFY(!synced.Exists("book.tel.Ab12Cd"));
      QVERIFY(synced.Exists("other.tel.Ab12Cd"));
      QVERIFY(synced.Exists("book.tel"));
    }
  }

  void firstStartWritesDefaultsAndStaysHidden() {
    auto f = Start();
    QCOMPARE(
        dir->Read("dnstplus.ini"),
        Sj("[Data]\r\nWidth=5595\r\nHeight=4400\r\nDATA1=グループ1\r\nDATA2=グループ2\r\nDATA3=グループ3\r\n"
           "DATA4=グループ4\r\nDATA5=グループ5\r\nClipen=False\r\nTopview=True\r\n"));
    QVERIFY(!f->isVisible());
    QCOMPARE(f->windowTitle(), QStringLiteral("Dialnest Plus"));
    QCOMPARE(f->Tray()->Tip(), QStringLiteral("Dialnest Plus"));
    QCOMPARE(f->Clipen.Text(), std::string("False"));
    QCOMPARE(f->Topview.Text(), std::string("True"));
    QCOMPARE(ctx->session.CurGroup, 1);
    MenuArray& groups = f->GroupItems();
    QCOMPARE(groups.Count(), 5);
    for (int g = 1; g <= 5; ++g) {
      QCOMPARE(groups.Caption(g), QStringLiteral("グループ%1").arg(g));
      QCOMPARE(groups.Item(g)->isChecked(), g == 1);
    }
    for (int k = 1; k <= 44; ++k) {
      QCOMPARE(f->LetterItems(k).Count(), 1);
      QCOMPARE(f->LetterItems(k).Item(1)->text(), QStringLiteral("なし"));
      QVERIFY(!f->LetterItems(k).Item(1)->isEnabled());
    }
    QVERIFY(rec->records.isEmpty());
  }

  void popupMenuHasTheDesignedTree() {
    auto f = Start();
    QMenu* tel = f->PopupMenu();
    QCOMPARE(Texts(tel),
             (QStringList{"クイック検索(&F)...", "-", "あ行(&A)", "か行(&K)", "さ行(&S)", "た行(&T)",
                          "な行(&N)", "は行(&H)", "ま行(&M)", "や行(&Y)", "ら行(&R)", "わ行(&W)", "-",
                          "番号登録(&I)...", "表示切替(&C)", "ｵﾌﾟｼｮﾝ(&O)", "ﾍﾙﾌﾟ(&E)", "-", "終了(&Q)"}));
    QString letters;
    for (int r = 0; r < 10; ++r)
      for (QAction* a : tel->actions()[r + 2]->menu()->actions()) letters += a->text();
    QCOMPARE(letters,
             QStringLiteral(
                 "あいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわ"));
    QCOMPARE(Texts(tel->findChild<QMenu*>("mnuOption")),
             (QStringList{"郵便番号・住所 検索(&P)...", "-", "DialnestPlus設定(&G)..."}));
    QCOMPARE(Texts(tel->findChild<QMenu*>("mnuHLP")),
             (QStringList{"Dialnest Plus ﾍﾙﾌﾟ(&M)...", "-", "ﾊﾞｰｼﾞｮﾝ情報(&A)..."}));
    QCOMPARE(tel->findChild<QMenu*>("mnuSe")->title(), QStringLiteral("せ"));
    QCOMPARE(tel->findChild<QMenu*>("mnuY")->title(), QStringLiteral("や行(&Y)"));
  }

  // Each menu of the tray has one item per access key, so a key opens its item at once (a shared key
  // only moves between the items that share it).
  void everyTrayMenuHasOneItemPerAccessKey() {
    auto f = Start();
    QList<QMenu*> menus{f->PopupMenu()};
    menus += f->PopupMenu()->findChildren<QMenu*>();
    for (QMenu* m : menus) {
      QStringList keys;
      for (QAction* a : m->actions()) {
        const qsizetype at = a->text().indexOf(QLatin1Char('&'));
        if (at < 0 || at + 1 >= a->text().size()) continue;
        const QString key = a->text().mid(at + 1, 1).toUpper();
        QVERIFY2(!keys.contains(key), qPrintable(m->title() + QStringLiteral(": ") + a->text()));
        keys << key;
      }
    }
    QVERIFY(menus.size() > 10);
  }

  void aLettersMenuIsMadeWhenItIsAboutToShow() {
    std::string book = "[D@TA]\r\n";
    for (int i = 0; i < 3000; ++i) book += "entry " + std::to_string(i) + "\r\n";
    for (int k = 2; k <= 44; ++k) book += "[D@TA]\r\n";
    dir->Write("Teldat1.tel", book);
    auto f = Start();
    MenuArray& a = f->LetterItems(1);
    // Loaded as texts: no menu item exists until the letter is shown, yet every caption is there.
    QCOMPARE(a.Count(), 3000);
    QVERIFY(!a.Built());
    QVERIFY(a.Menu()->actions().isEmpty());
    QCOMPARE(a.Caption(3000), QStringLiteral("entry 2999"));
    emit a.Menu()->aboutToShow();
    QVERIFY(a.Built());
    QCOMPARE(a.Menu()->actions().size(), 3000);
    QCOMPARE(a.Menu()->actions().last()->text(), QStringLiteral("entry 2999"));
    // Emptied (the organiser opens, a group switch): the items go, and the next load builds nothing.
    f->mnuC1_Click(2);
    QVERIFY(!f->LetterItems(1).Built());
    QCOMPARE(f->LetterItems(1).Count(), 1);
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("なし"));
    f->mnuC1_Click(1);
    QVERIFY(!f->LetterItems(1).Built());
    QCOMPARE(f->LetterItems(1).Count(), 3000);
  }

  void lettersShowTheGroupFileEntries() {
    dir->Write("Teldat1.tel",
               Sj("[D@TA]\r\n阿部\t03-1111-2222\r\n[D@TA]\r\n[D@TA]\r\nA&B 商会\r\n\r\n") + Markers(41));
    auto f = Start();
    MenuArray& a = f->LetterItems(1);
    QCOMPARE(a.Count(), 1);
    QCOMPARE(a.Caption(1), QStringLiteral("阿部\t03-1111-2222"));
    QVERIFY(a.Item(1)->isEnabled());
    QCOMPARE(f->LetterItems(2).Item(1)->text(), QStringLiteral("なし"));
    QVERIFY(!f->LetterItems(2).Item(1)->isEnabled());
    MenuArray& u = f->LetterItems(3);
    QCOMPARE(u.Count(), 2);
    QCOMPARE(u.Item(1)->text(), QStringLiteral("A&&B 商会"));  // shown with a plain ampersand
    QCOMPARE(u.Caption(1), QStringLiteral("A&B 商会"));
    QCOMPARE(u.Caption(2), QString());
    QVERIFY(u.Item(2)->isEnabled());
  }

  void filesCopiedFromWindowsAreReadWhateverTheirCase() {
    dir->Write("TELDAT1.TEL", Sj("[D@TA]\r\n阿部\t03-1111-2222\r\n") + Markers(43));
    dir->Write("DNSTPLUS.INI", "[Data]\r\nClipen=True\r\n");
    auto f = Start();
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("阿部\t03-1111-2222"));
    // The first start's defaults go into the file found, never beside it under another name.
    QStringList names;  // listed, not looked up: a Windows file system finds either spelling
    for (const auto& e : std::filesystem::directory_iterator(dir->Path()))
      names << QString::fromStdString(e.path().filename().string());
    QVERIFY2(!names.contains(QStringLiteral("dnstplus.ini")), qPrintable(names.join(' ')));
    QVERIFY(names.contains(QStringLiteral("DNSTPLUS.INI")));
    QCOMPARE(QByteArray::fromStdString(dir->Read("DNSTPLUS.INI")).left(34),
             QByteArray("[Data]\r\nClipen=False\r\nWidth=5595\r\n"));
  }

  void menusShowWhatAnotherProgramPutIntoTheBook() {
    dir->Write("Teldat1.tel", Markers(1) + "Alpha\r\n" + Markers(43));
    auto f = Start();
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("Alpha"));
    // Replaced by rename, as synchronisers and backup tools do.
    dir->Write("Teldat1.tel.new", Markers(1) + "Alpha\r\nBravo 03\r\n" + Markers(43));
    std::filesystem::rename(dir->File("Teldat1.tel.new"), dir->File("Teldat1.tel"));
    QTRY_COMPARE_WITH_TIMEOUT(f->LetterItems(1).Count(), 2, 5000);
    QCOMPARE(f->LetterItems(1).Caption(2), QStringLiteral("Bravo 03"));
    // Rewritten in place.
    dir->Write("Teldat1.tel", Markers(6) + "Kato\r\n" + Markers(38));
    QTRY_COMPARE_WITH_TIMEOUT(f->LetterItems(6).Caption(1), QStringLiteral("Kato"), 5000);
    QCOMPARE(f->LetterItems(1).Item(1)->text(), QStringLiteral("なし"));
  }

  void choosingAnEntryCopiesTheWholeLineOnlyWhenClipenIsTrue() {
    const std::string line = "  山田 太郎\t090-1234-5678 & 内線  ";
    dir->Write("Teldat1.tel", Sj("[D@TA]\r\n" + line + "\r\n") + Markers(43));
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=g\r\nClipen=True\r\n");
    auto f = Start();
    SetClipboardText(QStringLiteral("before"));
    f->LetterItems(1).Item(1)->trigger();
    QCOMPARE(ClipboardText(), QString::fromStdString(line));

    for (const char* off : {"False", "yes"}) {
      f->Clipen = settings::Switch(off);
      SetClipboardText(QStringLiteral("before"));
      f->LetterItems(1).Item(1)->trigger();
      QCOMPARE(ClipboardText(), QStringLiteral("before"));
    }
  }

  void groupItemsSwitchAndReload() {
    dir->Write("Teldat1.tel", "[D@TA]\r\none\r\n" + Markers(43));
    auto f = Start();
    f->GroupItems().Item(2)->trigger();  // no Teldat2.tel
    QCOMPARE(ctx->session.CurGroup, 2);
    for (int k = 1; k <= 44; ++k) QCOMPARE(f->LetterItems(k).Item(1)->text(), QStringLiteral("なし"));
    for (int g = 1; g <= 5; ++g) QCOMPARE(f->GroupItems().Item(g)->isChecked(), g == 2);

    dir->Write("Teldat2.tel", "[D@TA]\r\n[D@TA]\r\nx\r\ny\r\nz\r\n");
    f->GroupItems().Item(2)->trigger();  // the checked group reloads its file
    QCOMPARE(f->LetterItems(2).Count(), 3);
    QCOMPARE(f->LetterItems(2).Caption(3), QStringLiteral("z"));
    QCOMPARE(f->LetterItems(1).Count(), 1);

    f->GroupItems().Item(1)->trigger();
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("one"));
    QCOMPARE(f->LetterItems(2).Count(), 1);
    QVERIFY(!f->LetterItems(2).Item(1)->isEnabled());
  }

  // The first book is read ahead at start-up; the menus show it as a plain load would, bad bytes as
  // U+FFFD, and what was read ahead serves that one load only.
  void theBookReadAheadFillsTheMenusOnce() {
    dir->Write("Teldat1.tel", "[D@TA]\r\n\x93\x63\x92\x86\t03-1\r\nA&B\x93\r\n" + Markers(43));
    dir->Write("Teldat2.tel", "[D@TA]\r\ntwo\r\n" + Markers(43));
    PhoneMenu::Preload(ctx->DataPath(datafiles::PhoneBook(2)));  // not the group the start loads: read anew
    PhoneMenu::Preload(ctx->DataPath(datafiles::PhoneBook(1)));
    auto f = Start();
    QCOMPARE(f->LetterItems(1).Count(), 2);
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("田中\t03-1"));
    QCOMPARE(f->LetterItems(1).Caption(2), QStringLiteral("A&B\uFFFD"));
    QCOMPARE(f->LetterItems(1).Item(2)->text(), QStringLiteral("A&&B\uFFFD"));
    QVERIFY(f->LetterItems(1).Item(2)->isEnabled());
    dir->Write("Teldat1.tel", "[D@TA]\r\nnew\r\n" + Markers(43));
    f->GroupItems().Item(1)->trigger();
    QCOMPARE(f->LetterItems(1).Count(), 1);
    QCOMPARE(f->LetterItems(1).Caption(1), QStringLiteral("new"));
  }

  void settingsRulesAtStartUp() {
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=999\r\nDATA2=b\r\nTopview=False\r\n");
    auto f = Start();
    QCOMPARE(f->GroupItems().Caption(1), QStringLiteral("999"));  // a group named 999 survives
    QCOMPARE(f->GroupItems().Caption(4), QStringLiteral("999"));  // missing key shows the sentinel
    QCOMPARE(f->Topview.Text(), std::string("False"));
    QCOMPARE(dir->Read("dnstplus.ini"),
             std::string("[Data]\r\nDATA1=999\r\nDATA2=b\r\nTopview=False\r\nClipen=False\r\n"));
  }

  void rightClickShowsTheMenuOnceAndGuardsHold() {
    auto f = Start();
    RightClick(*f);
    QVERIFY(f->PopupMenu()->isVisible());
    QVERIFY(ctx->session.PopupBusy);
    QSignalSpy shown(f->PopupMenu(), &QMenu::aboutToShow);
    RightClick(*f);  // while the menu is up: nothing
    QCOMPARE(shown.count(), 0);
    f->PopupMenu()->hide();
    QVERIFY(!ctx->session.PopupBusy);

    ctx->session.SubWinOpen = true;
    RightClick(*f);
    QVERIFY(!f->PopupMenu()->isVisible());
    ctx->session.SubWinOpen = false;
    f->TrayMessage(0x202, QPoint(1, 1));  // button up and others are ignored
    QVERIFY(!f->PopupMenu()->isVisible());
  }

  void aboutBoxHoldsTheTrayUntilClosed() {
    auto f = Start();
    f->PopupMenu()->findChild<QAction*>("mnuVer")->trigger();
    QVERIFY(ctx->session.SubWinOpen);
    Form3* about = OpenWindow<Form3>();
    QVERIFY(about);
    QCOMPARE(about->windowTitle(), QStringLiteral("Dialnest Plus のﾊﾞｰｼﾞｮﾝ情報"));
    QCOMPARE(about->Label1->text(), QStringLiteral("Dialnest Plus  Ver1.50"));
    QVERIFY(about->windowFlags() & Qt::WindowStaysOnTopHint);
    // The data folder, whole in the tooltip, and a button that opens it.
    QCOMPARE(about->Label3->toolTip(), QDir::toNativeSeparators(QString::fromStdString(dir->Path())));
    QStringList opened;
    desktop::SetOpenerForTest([&opened](const QString& p) {
      opened << p;
      return true;
    });
    about->Command2->click();
    desktop::SetOpenerForTest({});
    QCOMPARE(opened, QStringList{about->Label3->toolTip()});
    RightClick(*f);
    QVERIFY(!f->PopupMenu()->isVisible());
    QPointer<Form3> guard(about);
    QTest::mouseClick(about->Command1, Qt::LeftButton);
    QTRY_VERIFY(guard.isNull());
    QVERIFY(!ctx->session.SubWinOpen);
    RightClick(*f);
    QVERIFY(f->PopupMenu()->isVisible());
    f->PopupMenu()->hide();
  }

  void leftClickPlacesTheOrganiserAndEmptiesTheMenus() {
    dir->Write("Teldat1.tel", "[D@TA]\r\none\r\n" + Markers(43));
    auto f = Start();
    QPointer<QWidget> opened;
    f->SetWindowFactory(Form1::SubWindow::Organizer, [&opened] {
      opened = new QWidget;
      return opened.data();
    });
    ctx->session.SubWinOpen = true;
    f->TrayMessage(TrayIcon::kLeftDown, QPoint(400, 300));
    QVERIFY(opened.isNull());
    ctx->session.SubWinOpen = false;
    f->TrayMessage(TrayIcon::kLeftDown, QPoint(400, 300));
    QVERIFY(!opened.isNull());
    QVERIFY(ctx->session.SubWinOpen);
    QCOMPARE(f->LetterItems(1).Item(1)->text(), QStringLiteral("なし"));
    QVERIFY(opened->windowFlags() & Qt::WindowStaysOnTopHint);  // Topview True
    opened->close();
    QTRY_VERIFY(opened.isNull());
    QVERIFY(!ctx->session.SubWinOpen);

    QCOMPARE(Form1::OrganizerPosition(QPoint(300, 89), 15, 15), QPoint(300 * 15 - 2870, 89 * 15));
    QCOMPARE(Form1::OrganizerPosition(QPoint(300, 90), 15, 15), QPoint(300 * 15 - 2870, 90 * 15 - 2370));
    // Halves go to the even neighbour.
    QCOMPARE(Form1::OrganizerPosition(QPoint(1, 1), 12.5, 12.5), QPoint(-2858, 12));
    QCOMPARE(Form1::OrganizerPosition(QPoint(3, 3), 12.5, 12.5), QPoint(-2832, 38));
    // Wide screens do not wrap around.
    QCOMPARE(Form1::OrganizerPosition(QPoint(5000, 10), 15, 15).x(), 5000 * 15 - 2870);
  }

  void postalSearchOpensBesideTheTrayWhenItsFactoryMakesOne() {
    auto f = Start();
    QAction* post = f->PopupMenu()->findChild<QAction*>("mnuPost");
    int made = 0;
    bool data = false;
    QPointer<QWidget> opened;
    f->SetWindowFactory(Form1::SubWindow::Postal, [&]() -> QWidget* {
      ++made;
      if (!data) return nullptr;  // no list to search: the factory said so
      opened = new QWidget;
      return opened.data();
    });
    post->trigger();
    QCOMPARE(made, 1);
    QVERIFY(!ctx->session.SubWinOpen);
    data = true;
    post->trigger();
    QVERIFY(!opened.isNull() && opened->isVisible());
    QVERIFY(!ctx->session.SubWinOpen);  // the tray stays usable beside it
    post->trigger();                    // chosen again: the open one comes to the front
    QCOMPARE(made, 2);
    opened->close();
    QTRY_VERIFY(opened.isNull());
  }

  void helpOpensTheUsersHelpFileElseTheProgramsOwnPage() {
    auto f = Start();
    QStringList opened;
    bool desktopOpens = true;
    desktop::SetOpenerForTest([&](const QString& path) {
      opened << path;
      return desktopOpens;
    });
    f->PopupMenu()->findChild<QAction*>("mnuHelp")->trigger();
    // No help file of the user's: the program's own page.
    QCOMPARE(opened, QStringList{help::Page()});
    QVERIFY(opened[0].endsWith(QStringLiteral("/dialnestplus-help.html")));
    dir->Write("Dnstplus.hlp", "old help");
    f->PopupMenu()->findChild<QAction*>("mnuHelp")->trigger();
    QCOMPARE(opened.size(), 2);
    QCOMPARE(opened[1], QString::fromStdString(dir->File("Dnstplus.hlp")));
    QVERIFY(rec->records.isEmpty());
    // Nothing on the desktop opens either: the user is told where the page is.
    desktopOpens = false;
    f->PopupMenu()->findChild<QAction*>("mnuHelp")->trigger();
    desktop::SetOpenerForTest({});
    QCOMPARE(opened.size(), 4);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("ヘルプを表示するプログラム（ブラウザ）が見つかりませんでした\n"
                            "ヘルプは次のファイルです：\n") +
                 QDir::toNativeSeparators(help::Page()));
  }

  void quitRemovesTheIconAndEnds() {
    auto f = Start();
    QSignalSpy quit(f.get(), &Form1::QuitRequested);
    f->PopupMenu()->findChild<QAction*>("mnuQ")->trigger();
    QCOMPARE(quit.count(), 1);
    QVERIFY(!f->Tray()->IsShown());
  }

  void alarmWindowComesUpOnceAndOkPutsItAway() {
    Clock::SetForTest(DateTime{2026, 12, 7, 8, 59, 55});
    std::filesystem::create_directory(dir->File("Schedule"));
    std::string file;
    for (int d = 1; d <= 31; ++d) file += d == 7 ? "[D@TA]1109:00\r\nmeeting\r\n" : "[D@TA]00\r\n";
    dir->Write("Schedule/Sch2612.dat", file);
    auto f = Start();
    QCOMPARE(QString::fromStdString(ctx->alarm.Time()), QStringLiteral("09:00"));
    QVERIFY(f->Timer1.isActive());
    QCOMPARE(f->Timer1.interval(), 10000);
    QCOMPARE(f->Timer2.interval(), 700);
    QCOMPARE(f->Timer3.interval(), 59000);
    f->Timer1_Timer();  // 08:59:55
    QVERIFY(!f->isVisible());
    Clock::AdvanceForTest(10);
    f->Timer1_Timer();  // 09:00:05
    QVERIFY(f->isVisible());
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(f->Label1->text(), QStringLiteral("9時00分です\nスケジュールを確認して下さい"));
    QVERIFY(f->Timer2.isActive());
    QVERIFY(!f->Timer1.isActive());
    QVERIFY(f->Timer3.isActive());
    f->Timer2_Timer();
    QCOMPARE(f->windowTitle(), QStringLiteral("★ Dialnest Plus ★"));
    f->Timer2_Timer();
    QCOMPARE(f->windowTitle(), QStringLiteral("Dialnest Plus"));
    f->Timer2_Timer();
    QTest::mouseClick(f->Command1, Qt::LeftButton);
    QVERIFY(!f->isVisible());
    QVERIFY(!f->Timer2.isActive());
    QCOMPARE(f->windowTitle(), QStringLiteral("Dialnest Plus"));
    QVERIFY(!(f->windowFlags() & Qt::WindowStaysOnTopHint));
    f->Timer3_Timer();
    QVERIFY(f->Timer1.isActive());
    Clock::AdvanceForTest(20);
    f->Timer1_Timer();  // still 09:00, but it went off already
    QVERIFY(!f->isVisible());
    f->close();                                         // the title bar offers no close: nothing happens
    Clock::SetForTest(DateTime{2026, 12, 8, 9, 0, 0});  // a new day without an alarm
    f->Timer1_Timer();
    QVERIFY(ctx->alarm.Armed());
    QCOMPARE(QString::fromStdString(ctx->alarm.Time()), QString());
    QVERIFY(!f->isVisible());
    Clock::SetForTest(std::nullopt);
  }

  void anAlarmMissedWhileAsleepComesUpLateWithItsTime() {
    Clock::SetForTest(DateTime{2026, 12, 7, 8, 58, 0});
    std::filesystem::create_directory(dir->File("Schedule"));
    std::string file;
    for (int d = 1; d <= 31; ++d) file += d == 7 ? "[D@TA]1109:00\r\nmeeting\r\n" : "[D@TA]00\r\n";
    dir->Write("Schedule/Sch2612.dat", file);
    auto f = Start();
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 20, 4});  // resumed before the first timed check
    f->Timer1_Timer();
    QVERIFY(f->isVisible());
    QCOMPARE(f->Label1->text(), QStringLiteral("9時00分のアラームです\nスケジュールを確認して下さい"));
    f->Command1_Click();
    f->Timer3_Timer();
    Clock::AdvanceForTest(60);
    f->Timer1_Timer();
    QVERIFY(!f->isVisible());  // once
    Clock::SetForTest(std::nullopt);
  }

  void hugePhoneBookLoadsToTheLimitAndStaysUp() {
    std::string big = "[D@TA]\r\n";
    for (int i = 0; i < 100000; ++i) big += "e" + std::to_string(i) + "\r\n";
    dir->Write("Teldat1.tel", big);
    auto f = Start();
    QCOMPARE(f->LetterItems(1).Count(), 32767);
    QCOMPARE(f->LetterItems(2).Item(1)->text(), QStringLiteral("なし"));
    f->GroupItems().Item(3)->trigger();  // and clears again
    QCOMPARE(f->LetterItems(1).Count(), 1);
  }
};

QTEST_MAIN(Form1Test)
#include "Form1_test.moc"
