// The organiser's ToDo and free memo pages through their widgets (and the frame's memory over many
// openings).
#include <cstddef>

#include <QAbstractItemModelTester>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QStyle>
#include <QToolButton>
#include <QtTest>
#include <filesystem>

#include "organizer/CalendarModel.h"
#include "organizer/MemoPage.h"
#include "organizer/OrganizerTestKit.h"
#include "organizer/SchedulePage.h"
#include "organizer/TodoPage.h"
#include "testsupport/FailingWrites.h"
#include "testsupport/TestFiles.h"

namespace {
std::string Page(const std::string& bytes) {
  return bytes + std::string(1000 - bytes.size(), ' ');
}
// The rows as the list draws them: its tick and text roles.
QStringList Items(TodoPage* t) {
  QStringList out;
  const QAbstractItemModel* m = t->List1->model();
  for (int i = 0; i < m->rowCount(); ++i) {
    const QModelIndex at = m->index(i, 0);
    out << (at.data(Qt::CheckStateRole).toInt() == Qt::Checked ? "[x] " : "[ ] ") + at.data().toString();
  }
  return out;
}
// A tick as the list's check box sets it.
void Tick(TodoPage* t, int row) {
  QAbstractItemModel* m = t->List1->model();
  QVERIFY(m->flags(m->index(row, 0)).testFlag(Qt::ItemIsUserCheckable));
  QVERIFY(m->setData(m->index(row, 0), Qt::Checked, Qt::CheckStateRole));
}
QString Enabled(const std::array<QToolButton*, 5>& b) {
  QString s;
  for (QToolButton* x : b) s += x->isEnabled() ? '1' : '0';
  return s;
}
}  // namespace

namespace {
// Bytes the program holds allocated now (the sanitizer's count under ASan, malloc's otherwise).
}  // namespace

class OrganizerPagesTest : public OrganizerTestBase {
  Q_OBJECT

  FrmCal* OpenTodo(const std::string& file) {
    dir->Write("ToDo.dat", Sj(file));
    FrmCal* f = Open();
    f->hTab->setCurrentIndex(1);
    return f;
  }
  FrmCal* OpenMemo() {
    FrmCal* f = Open();
    f->hTab->setCurrentIndex(2);
    return f;
  }
  void Pick(FrmCal* f, int row) { f->Todo->List1->setCurrentIndex(f->Todo->Items().index(row)); }

 private slots:
  // Shown with no current item and Text2 empty and disabled, also once the list has the keyboard (Tab);
  // the arrow keys then choose from the first item.
  void closingAfterOnlyLookingWritesNothingAndKeepsAnotherProgramsChanges() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n");
    Pick(f, 0);
    f->hTab->setCurrentIndex(0);
    const std::string theirs = Sj("026/12/01 a\r\n026/12/02 他のPCで追加\r\n");
    dir->Write("ToDo.dat", theirs);
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), theirs);
    QVERIFY(rec->records.isEmpty());
  }

  void aTodoListChangedHereAndByAnotherProgramAsksAndTheDefaultKeepsBoth() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n");
    Tick(f->Todo, 0);
    const std::string theirs = Sj("026/12/01 a\r\n026/12/02 b\r\n");
    dir->Write("ToDo.dat", theirs);
    rec->answers << MsgResult::Cancel;
    QVERIFY(!CloseWithButton(f));  // both kept: the window stays with its change
    QCOMPARE(rec->records.size(), 1);
    QVERIFY(rec->records[0].text.startsWith(QStringLiteral("ToDo.dat はこのウィンドウで開いた後に")));
    QCOMPARE(dir->Read("ToDo.dat"), theirs);
    rec->answers << MsgResult::Yes;
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), std::string("126/12/01 a\r\n"));
  }

  // The list's model keeps Qt's model contract through every button's change, and gives the lines back
  // as the design's list would: only "1" is a tick, an empty first line shows nothing.
  void theTodoItemsModelKeepsTheContractAndTheLineCodec() {
    TodoItems items;
    QAbstractItemModelTester tester(&items, QAbstractItemModelTester::FailureReportingMode::QtTest);
    items.Show({"104/12/05 a", "226/12/02 b", "026/12/03 c"});
    QCOMPARE(items.Count(), 3);
    QCOMPARE(items.index(0).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    QCOMPARE(items.index(1).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    QCOMPARE(items.index(1).data().toString(), QStringLiteral("26/12/02 b"));
    QSignalSpy moved(&items, &QAbstractItemModel::rowsMoved);
    QVERIFY(!items.Move(0, true));
    QVERIFY(!items.Move(2, false));
    QCOMPARE(moved.count(), 0);
    QVERIFY(items.Move(0, false));
    QVERIFY(items.Move(2, true));
    QCOMPARE(items.Lines(), (std::vector<std::string>{"026/12/02 b", "026/12/03 c", "104/12/05 a"}));
    items.Replace(2, "04/12/06 a2");
    items.Add("26/12/24 d");
    items.Remove(0);
    QVERIFY(items.setData(items.index(0), Qt::Checked, Qt::CheckStateRole));
    QVERIFY(!items.setData(items.index(0), QStringLiteral("x"), Qt::DisplayRole));
    QCOMPARE(items.Lines(), (std::vector<std::string>{"126/12/03 c", "104/12/06 a2", "026/12/24 d"}));
    items.Show({"", "004/12/05 hidden"});
    QCOMPARE(items.Count(), 0);
    QVERIFY(items.Lines().empty());
  }

  void theTodoPageShowsWithNoCurrentItemEvenWhenTheListTakesTheFocus() {
    FrmCal* f = OpenTodo("026/12/01 first\r\n026/12/02 second\r\n");
    QCOMPARE(f->Todo->Items().Count(), 2);
    QCOMPARE(f->Todo->CurrentRow(), -1);
    QCOMPARE(f->Todo->Text2->text(), QString());
    QVERIFY(!f->Todo->Text2->isEnabled());
    f->activateWindow();
    f->Todo->List1->setFocus(Qt::TabFocusReason);
    QCOMPARE(f->Todo->CurrentRow(), -1);
    QCOMPARE(f->Todo->Text2->text(), QString());
    QVERIFY(!f->Todo->Text2->isEnabled());
    QTest::keyClick(f->Todo->List1, Qt::Key_Down);
    QCOMPARE(f->Todo->CurrentRow(), 0);
    QCOMPARE(f->Todo->Text2->text(), QStringLiteral("first"));
    QVERIFY(CloseWithButton(f));
  }

  void init() { InitKit(); }
  void cleanup() { CleanupKit(); }

  void openingAndClosingKeepsNoMemory() {
    // 220 organiser windows take Wine about ten minutes, more than a test may: measured on Linux, where
    // the same code runs (the window system's own part is Qt's).
    if (QSysInfo::kernelType() == QLatin1String("winnt")) QSKIP("too slow under Wine; measured on Linux");
    auto cycle = [this] {
      FrmCal* f = Open();
      QVERIFY(f);
      QVERIFY(CloseWithButton(f));
      QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    };
    for (int i = 0; i < 20; ++i) cycle();  // caches of fonts, pictures and styles fill up first
    const std::size_t before = testfiles::AllocatedBytes();
    for (int i = 0; i < 200; ++i) cycle();
    const std::size_t after = testfiles::AllocatedBytes();
    qInfo("200 opens and closes: %lld bytes more",
          static_cast<long long>(after) - static_cast<long long>(before));
    QVERIFY2(after < before + 1024 * 1024, qPrintable(QString::number(after - before)));
  }

  // Each page stands alone on any widget: it owns its store and says what happened by signals only.
  void pagesOwnTheirStoresAndTalkBySignals() {
    std::filesystem::create_directories(dir->File("Schedule"));
    dir->Write("Schedule/Sch0412.dat", Headers(4) + Sj("[D@TA]10\r\n忘年会\r\n") + Headers(26));
    dir->Write("ToDo.dat", Sj("104/12/05 資料を送る\r\n"));
    QWidget host;
    SchedulePage schedule(&host, *ctx);
    TodoPage todo(&host, *ctx);
    QSignalSpy registered(&schedule, &SchedulePage::Registered);
    QSignalSpy asked(&todo, &TodoPage::DateAsked);
    QSignalSpy changed(&todo, &TodoPage::Changed);
    schedule.MonthShown(2004, 12);
    QCOMPARE(schedule.Month().DayText[4], std::string("忘年会"));
    schedule.DayPicked(2004, 12, 5);
    QCOMPARE(schedule.Text1->toPlainText(), QStringLiteral("忘年会"));
    schedule.Text1->setPlainText(QStringLiteral("新年会"));
    schedule.Command1->click();
    QCOMPARE(registered.size(), 1);
    QCOMPARE(registered[0][0].toInt(), 5);
    QVERIFY(schedule.Dirty());
    QVERIFY(schedule.MonthLeaving());  // saves
    QVERIFY(!schedule.Dirty());
    QCOMPARE(dir->Read("Schedule/Sch0412.dat"),
             SavedHeaders(4) + Sj("[D@TA]1000:00\r\n新年会\r\n") + SavedHeaders(26));

    todo.LoadToDo();
    todo.Enter();
    todo.List1->setCurrentIndex(todo.Items().index(0));
    QCOMPARE(asked.size(), 1);
    QCOMPARE(asked[0], (QVariantList{2004, 12, 5}));
    todo.Command5[4]->click();  // delete
    QCOMPARE(changed.size(), 1);
    QVERIFY(todo::IsEmpty(todo.Book().lines));
    QVERIFY(rec->records.empty());
  }

  void theTodoPageShowsTheListAndAddsADatedItem() {
    FrmCal* f = OpenTodo("104/12/05 資料を送る\r\n026/12/03 電話する\r\n");
    TodoPage* t = f->Todo;
    QVERIFY(f->Todo->Active());
    QCOMPARE(t->Label5->text(), QStringLiteral("ToDo："));
    QCOMPARE(Items(t), (QStringList{"[x] 04/12/05 資料を送る", "[ ] 26/12/03 電話する"}));
    QCOMPARE(t->CurrentRow(), -1);
    QStringList tips;
    for (QToolButton* b : t->Command5) tips << b->toolTip();
    QCOMPARE(tips, (QStringList{"上へ移動", "下へ移動", "修正", "新規追加", "削除"}));
    QCOMPARE(Enabled(t->Command5), QStringLiteral("00000"));
    QVERIFY(!t->Text2->isEnabled());

    ClickDay(f, 10);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月10日"));
    QCOMPARE(f->Todo->Prefix(), std::string("26/12/10 "));
    QVERIFY(t->Text2->isEnabled());
    t->Text2->setText(QStringLiteral("買い物 "));
    QCOMPARE(Enabled(t->Command5), QStringLiteral("00010"));  // no current item: no modify
    t->Command5[3]->click();
    QCOMPARE(Items(t).last(), QStringLiteral("[ ] 26/12/10 買い物 "));
    QCOMPARE(Enabled(t->Command5), QStringLiteral("00000"));
    QCOMPARE(t->Text2->text(), QString());
    QCOMPARE(f->Todo->Book().lines.back(), std::string("026/12/10 買い物 "));
    QCOMPARE(calendar::TodoMarkFor(f->Todo->Book().lines, 2026, 12, 10), calendar::TodoMark::Open);
    Hover(f, 10);
    QCOMPARE(f->View->TipText(), QStringLiteral("[×] 買い物 "));
    QVERIFY(CloseWithButton(f));  // closing on the ToDo page writes the list
    QCOMPARE(dir->Read("ToDo.dat"),
             Sj("104/12/05 資料を送る\r\n026/12/03 電話する\r\n026/12/10 買い物 \r\n"));
  }

  void choosingAnItemMovesTheCalendarToItsMonth() {
    std::filesystem::create_directories(dir->File("Schedule"));
    dir->Write("Schedule/Sch0412.dat", Headers(4) + Sj("[D@TA]10\r\n忘年会\r\n") + Headers(26));
    FrmCal* f = OpenTodo("104/12/05 資料を送る\r\n026/12/03 電話する\r\n");
    QSignalSpy drawn(f->View->Picture1, &CalendarSurface::CaptionChanged);
    Pick(f, 0);
    QCOMPARE(f->View->Year(), 2004);
    QCOMPARE(f->View->Month(), 12);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2004年12月5日"));
    QCOMPARE(f->Schedule->Month().DayText[4], std::string("忘年会"));
    QCOMPARE(f->Todo->Text2->text(), QStringLiteral("資料を送る"));
    QCOMPARE(Enabled(f->Todo->Command5), QStringLiteral("11111"));
    QCOMPARE(drawn.count(), 1);
    // Modify without choosing a day: the item's own date goes with it; the tick stays with the item.
    f->Todo->Text2->setText(QStringLiteral("資料を郵送"));
    f->Todo->Command5[2]->click();
    QCOMPARE(Items(f->Todo).first(), QStringLiteral("[x] 04/12/05 資料を郵送"));
    QCOMPARE(Enabled(f->Todo->Command5), QStringLiteral("00000"));
    // An item added now gets the last chosen date too.
    f->Todo->Text2->setText(QStringLiteral("追加"));
    f->Todo->Command5[3]->click();
    QCOMPARE(Items(f->Todo).last(), QStringLiteral("[ ] 04/12/05 追加"));
  }

  void movesKeepTheTickAndDoNothingAtTheEnds() {
    FrmCal* f = OpenTodo("126/12/01 a\r\n026/12/02 b\r\n026/12/03 c\r\n");
    TodoPage* t = f->Todo;
    Pick(f, 0);
    QSignalSpy drawn(f->View->Picture1, &CalendarSurface::CaptionChanged);
    t->Command5[0]->click();  // up on the first: nothing at all, no redraw
    QCOMPARE(Items(t), (QStringList{"[x] 26/12/01 a", "[ ] 26/12/02 b", "[ ] 26/12/03 c"}));
    QCOMPARE(drawn.count(), 0);
    t->Command5[1]->click();  // the ticked item goes down and stays ticked
    QCOMPARE(Items(t), (QStringList{"[ ] 26/12/02 b", "[x] 26/12/01 a", "[ ] 26/12/03 c"}));
    QCOMPARE(t->CurrentRow(), 1);
    QCOMPARE(t->Text2->text(), QStringLiteral("a"));
    QCOMPARE(f->Todo->Book().lines, (std::vector<std::string>{"026/12/02 b", "126/12/01 a", "026/12/03 c"}));
    Pick(f, 2);
    const int before = drawn.count();
    t->Command5[1]->click();  // down on the last
    QCOMPARE(drawn.count(), before);
    t->Command5[0]->click();
    QCOMPARE(Items(t), (QStringList{"[ ] 26/12/02 b", "[ ] 26/12/03 c", "[x] 26/12/01 a"}));
    // Delete: gone, caption back to the month, buttons off, Text2 disabled.
    Pick(f, 0);
    t->Command5[4]->click();
    QCOMPARE(Items(t), (QStringList{"[ ] 26/12/03 c", "[x] 26/12/01 a"}));
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月"));
    QCOMPARE(Enabled(t->Command5), QStringLiteral("00000"));
    QVERIFY(!t->Text2->isEnabled());
  }

  void blanksAddNothingButRedrawAndUnencodableTextIsRefused() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n");
    ClickDay(f, 2);
    QSignalSpy drawn(f->View->Picture1, &CalendarSurface::CaptionChanged);
    f->Todo->Text2->setText(QStringLiteral("   "));
    QCOMPARE(Enabled(f->Todo->Command5), QStringLiteral("00000"));
    f->Todo->Command5_Click(3);
    QCOMPARE(f->Todo->Items().Count(), 1);
    QCOMPARE(drawn.count(), 1);
    f->Todo->Text2->setText(QStringLiteral("顔😀"));
    f->Todo->Command5[3]->click();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("ToDoに使えない文字があります：😀"));
    QCOMPARE(f->Todo->Items().Count(), 1);
  }

  // The tick as a user sets it: a click on the item's box, or Space on the current item.
  void theBoxTicksByMouseAndBySpaceAndTheTickIsStored() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n026/12/02 b\r\n");
    TodoPage* t = f->Todo;
    const QRect row = t->List1->visualRect(t->Items().index(1));
    QVERIFY(row.isValid());
    // The box sits at the row's left, after the focus frame's margin.
    const int margin = t->List1->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, t->List1) + 1;
    const int box = t->List1->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, t->List1);
    QTest::mouseClick(t->List1->viewport(), Qt::LeftButton, {},
                      QPoint(row.left() + margin + box / 2, row.center().y()));
    QCOMPARE(Items(t), (QStringList{"[ ] 26/12/01 a", "[x] 26/12/02 b"}));
    Pick(f, 0);
    QTest::keyClick(t->List1, Qt::Key_Space);
    QCOMPARE(Items(t), (QStringList{"[x] 26/12/01 a", "[x] 26/12/02 b"}));
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), "126/12/01 a\r\n126/12/02 b\r\n");
  }

  void aPageSwitchStoresTheTicksAndAnEmptyFirstLineKeepsTheRest() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n026/12/02 b\r\n");
    Tick(f->Todo, 1);
    QCOMPARE(f->Todo->Book().lines[1], std::string("026/12/02 b"));  // the list only, so far
    f->hTab->setCurrentIndex(0);
    QCOMPARE(f->Todo->Book().lines[1], std::string("126/12/02 b"));
    QCOMPARE(f->Todo->Items().Count(), 2);  // the schedule page leaves the list as it is
    f->hTab->setCurrentIndex(1);
    Tick(f->Todo, 0);
    QVERIFY(CloseWithButton(f));  // closing on the ToDo page writes the current ticks
    QCOMPARE(dir->Read("ToDo.dat"), "126/12/01 a\r\n126/12/02 b\r\n");

    const std::string hidden = "\r\n" + Sj("004/12/05 隠れた項目") + "\r\n";
    f = OpenTodo("\r\n004/12/05 隠れた項目\r\n");
    QCOMPARE(f->Todo->Items().Count(), 0);
    f->hTab->setCurrentIndex(0);
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), hidden);
    f = Open();
    f->hTab->setCurrentIndex(1);
    ClickDay(f, 10);
    f->Todo->Text2->setText(QStringLiteral("new"));
    f->Todo->Command5[3]->click();
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), "026/12/10 new\r\n");  // adding replaces all lines by the list
    // Emptied by deleting: one empty line.
    f = Open();
    f->hTab->setCurrentIndex(1);
    Pick(f, 0);
    f->Todo->Command5[4]->click();
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), "\r\n");
  }

  void anItemDatedInMonth00DoesNotMoveTheCalendar() {
    FrmCal* f = OpenTodo("000/00/00 zero\r\n0ab/cd/ef letters\r\n");
    Pick(f, 0);
    QCOMPARE(f->View->Year(), 2026);
    QCOMPARE(f->View->Month(), 12);
    QCOMPARE(Enabled(f->Todo->Command5), QStringLiteral("11111"));
    Pick(f, 1);
    QCOMPARE(f->View->Month(), 12);
    QVERIFY(CloseWithButton(f));
    QVERIFY(!dir->Exists("Schedule/Sch0000.dat"));
    QVERIFY(!dir->Exists("Schedule/Sch9912.dat"));
  }

  void aChangedMonthIsSavedBeforeAnItemMovesTheCalendarAway() {
    FrmCal* f = OpenTodo("104/12/05 old\r\n");
    f->hTab->setCurrentIndex(0);
    ClickDay(f, 8);
    f->Schedule->Text1->setPlainText(QStringLiteral("registered"));
    f->Schedule->Command1->click();
    f->hTab->setCurrentIndex(1);
    Pick(f, 0);
    QCOMPARE(f->View->Month(), 12);
    QCOMPARE(f->View->Year(), 2004);
    QVERIFY(dir->Read("Schedule/Sch2612.dat").find("registered") != std::string::npos);
  }

  void damagedLinesKeepTheirOwnBytesAndBlockNoOtherEdit() {
    // Lines written by another program: one undecodable byte, two identical damaged lines, two that
    // differ only in their damaged byte, and a line whose first character is no flag.
    const std::string bad1 = "026/12/01 dup\x80", bad2 = "026/12/01 dup\xA0";
    const std::string noFlag = Sj("x26/12/04 旗なし");
    const std::string file =
        Sj("026/12/02 ok\r\n") + bad1 + "\r\n" + bad1 + "\r\n" + bad2 + "\r\n" + noFlag + "\r\n";
    dir->Write("ToDo.dat", file);
    FrmCal* f = Open();
    f->hTab->setCurrentIndex(1);
    TodoPage* t = f->Todo;
    // Delete the first damaged twin and the one whose byte is 82 21 goes nowhere else; add an item.
    Pick(f, 1);
    t->Command5[4]->click();
    Pick(f, 2);               // now the 82 21 line
    t->Command5[1]->click();  // moved below the no-flag line
    ClickDay(f, 9);
    t->Text2->setText(QStringLiteral("新しい"));
    t->Command5[3]->click();
    QVERIFY(CloseWithButton(f));
    QCOMPARE(rec->records.size(), 0);
    QCOMPARE(dir->Read("ToDo.dat"), Sj("026/12/02 ok\r\n") + bad1 + "\r\n" + "0" + noFlag.substr(1) + "\r\n" +
                                        bad2 + "\r\n" + Sj("026/12/09 新しい\r\n"));
  }

  void aPastedLineBreakBecomesABlankAndAFullListTakesNoMore() {
    FrmCal* f = OpenTodo("026/12/02 a\r\n");
    TodoPage* t = f->Todo;
    ClickDay(f, 9);
    t->Text2->insert(QStringLiteral("一行目\n二行目\r\n三"));
    t->Command5[3]->click();
    QCOMPARE(Items(t).last(), QStringLiteral("[ ] 26/12/09 一行目 二行目 三"));
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), Sj("026/12/02 a\r\n026/12/09 一行目 二行目 三\r\n"));

    std::string full;
    for (std::size_t i = 0; i < todo::kMaxLines; ++i) full += "026/12/01 " + std::to_string(i) + "\r\n";
    dir->Write("ToDo.dat", full);
    f = Open();
    f->hTab->setCurrentIndex(1);
    ClickDay(f, 9);
    f->Todo->Text2->setText(QStringLiteral("もう一つ"));
    f->Todo->Command5[3]->click();
    QCOMPARE(f->Todo->Items().Count(), static_cast<int>(todo::kMaxLines));
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("ToDoはこれ以上追加できません（%1件まで）").arg(todo::kMaxLines));
    QCOMPARE(f->Todo->Text2->text(), QStringLiteral("もう一つ"));
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), full);
  }

  void aTodoFileThatCannotBeWrittenIsToldAndKept() {
    FrmCal* f = OpenTodo("026/12/01 a\r\n");
    testfiles::MakeReadOnly(dir->File("ToDo.dat"));
    Tick(f->Todo, 0);  // a change to store
    rec->answers << MsgResult::No;
    QPointer<FrmCal> guard(f);
    Release(f->Picture2[0]);
    QVERIFY(guard);
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("ToDoファイルを保存できませんでした\nToDoファイル(ToDo.dat)"
                            "に書き込めませんでした\nアクセスが拒否されました\n"
                            "ToDoを保存せずに閉じますか？\n（いいえ：閉じずに戻ります）"));
    rec->answers << MsgResult::Yes;
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("ToDo.dat"), "026/12/01 a\r\n");
  }

  void aMissingMemoGetsOneBlankPage() {
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    QCOMPARE(dir->Read("freememo.dat"), std::string(1000, ' '));
    QCOMPARE(m->Label6->text(), QStringLiteral("1/1"));
    for (int i : {2, 3, 4, 5}) QVERIFY(!m->Command2[static_cast<std::size_t>(i)]->isEnabled());
    QStringList tips;
    for (QToolButton* b : m->Command2) tips << b->toolTip();
    QCOMPARE(tips,
             (QStringList{"新規追加", "削除", "前のページ", "次のページ", "最初のページ", "最後のページ"}));
    QCOMPARE(m->Label7->text(), QStringLiteral("検索する文字列 ："));
    QCOMPARE(m->Command3->text(), QStringLiteral("検索"));
    QCOMPARE(m->Command3->toolTip(), QStringLiteral("検索する文字列を含むページを検索します"));
    QVERIFY(!m->Command3->isEnabled());
    m->Text6->setText(QStringLiteral("x"));
    QVERIFY(m->Command3->isEnabled());
    m->Text6->setText(QStringLiteral("  "));
    QVERIFY(!m->Command3->isEnabled());
    QVERIFY(!f->CalActive());
    QCOMPARE(m->Picture4->y(), PxY(50));
  }

  void pagingSavesOnlyWhatChangedAndAddAppendsAtTheEnd() {
    dir->Write("freememo.dat", Page("  first") + Page("second") + Page("third"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("first"));  // leading blanks go on screen only
    QCOMPARE(m->Label6->text(), QStringLiteral("1/3"));
    // Unchanged pages are never written: a write now would fail and say so.
    textfile::fault::Inject(textfile::fault::Step::Create);
    m->Command2[3]->click();
    m->Command2[5]->click();
    m->Command2[4]->click();
    QCOMPARE(rec->records.size(), 0);
    textfile::fault::Clear();
    QCOMPARE(dir->Read("freememo.dat").substr(0, 1000), Page("  first"));
    m->Command2[3]->click();
    m->Text5->setPlainText(QStringLiteral("second, edited"));
    m->Command2[4]->click();  // paging away saves
    QCOMPARE(dir->Read("freememo.dat"), Page("  first") + Page("second, edited") + Page("third"));
    QCOMPARE(m->Label6->text(), QStringLiteral("1/3"));
    m->Command2[0]->click();  // add: at the end, whatever page shows
    QCOMPARE(m->Label6->text(), QStringLiteral("4/4"));
    QCOMPARE(dir->Read("freememo.dat").size(), 4000u);
    QVERIFY(!m->Command2[3]->isEnabled());
    QVERIFY(m->Command2[2]->isEnabled());
  }

  void deletingAsksAndShowsWhatMovedIn() {
    dir->Write("freememo.dat", Page("1") + Page("2") + Page("3"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Command2[3]->click();  // page 2
    rec->answers << MsgResult::Cancel;
    m->Command2[1]->click();
    QCOMPARE(rec->records.last().text, QStringLiteral("このページのデータを削除します"));
    QCOMPARE(rec->records.last().buttons, MsgButtons::OkCancel);
    QCOMPARE(rec->records.last().icon, MsgIcon::Question);
    QCOMPARE(rec->records.last().title, QStringLiteral("Dialnest Plus"));
    QCOMPARE(m->Book().Count(), 3);
    m->Command2[1]->click();  // a middle page: the next moves in
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("3"));
    QCOMPARE(m->Label6->text(), QStringLiteral("2/2"));
    QCOMPARE(dir->Read("freememo.dat"), Page("1") + Page("3"));
    m->Command2[1]->click();  // the last page: the new last shows
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("1"));
    QCOMPARE(m->Label6->text(), QStringLiteral("1/1"));
    m->Command2[1]->click();  // the only page: it becomes empty, one record stays
    QCOMPARE(m->Text5->toPlainText(), QString());
    QCOMPARE(dir->Read("freememo.dat"), Page(""));
  }

  void theSearchRunsOnFromWhereItStoppedAndEndsAtTheLastPage() {
    dir->Write("freememo.dat", Page("apple") + Page("banana") + Page("apple pie"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Text6->setText(QStringLiteral("apple"));
    m->Command3->click();
    QCOMPARE(m->CurrentPage(), 1);
    QCOMPARE(rec->records.size(), 0);
    m->Command3->click();  // found on the last page: shown, and the search has ended
    QCOMPARE(m->CurrentPage(), 3);
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("apple pie"));
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("検索が終了しました"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Information);
    m->Command3->click();  // starts again at page 1
    QCOMPARE(m->CurrentPage(), 1);
    m->Text6->setText(QStringLiteral("cherry"));
    m->Command3->click();
    QCOMPARE(m->CurrentPage(), 1);
    QCOMPARE(rec->records.size(), 2);
    QCOMPARE(rec->records[1].text, QStringLiteral("検索が終了しました"));
  }

  void textOverAThousandBytesWarnsAtEachChangeAndIsStoredCut() {
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    std::string kanji;
    for (int i = 0; i < 501; ++i) kanji += "字";
    m->Text5->setPlainText(QString::fromStdString(kanji));
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("入力できる文字数を超えています"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Information);
    m->Text5->moveCursor(QTextCursor::End);
    m->Text5->insertPlainText(QStringLiteral("a"));
    QCOMPARE(rec->records.size(), 2);
    m->Command2[0]->click();
    QCOMPARE(dir->Read("freememo.dat").substr(0, 1000), Sj(kanji.substr(0, 500 * 3)));
    m->Text5->setPlainText(QStringLiteral("😀"));
    m->Command2[2]->click();  // cannot be stored: refused, and the page stays
    QCOMPARE(rec->records.last().text, QStringLiteral("メモに使えない文字があります：😀"));
    QCOMPARE(m->CurrentPage(), 2);
  }

  void noPictureButtonCoversTheMemoText() {
    FrmCal* f = OpenMemo();
    const QRect text(f->Memo->Text5->mapTo(f, QPoint(0, 0)), f->Memo->Text5->size());
    for (int i = 0; i < 4; ++i)
      QVERIFY2(!f->Picture2[i]->geometry().intersects(text), qPrintable(QString::number(i)));
    QVERIFY(f->rect().contains(text));
  }

  void theSaveAndCompactionPointsOfThePageSwitch() {
    dir->Write("freememo.dat", Page("one") + "partial tail");
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    QCOMPARE(dir->Read("freememo.dat"), Page("one") + "partial tail");  // opening alone writes nothing
    m->Text5->setPlainText(QStringLiteral("one!"));
    f->hTab->setCurrentIndex(0);  // leaving the memo page saves and compacts
    QCOMPARE(dir->Read("freememo.dat"), Page("one!"));
    f->hTab->setCurrentIndex(2);
    m->Text5->setPlainText(QStringLiteral("closing"));
    QVERIFY(CloseWithButton(f));  // closing with the memo page shown saves
    QCOMPARE(dir->Read("freememo.dat"), Page("closing"));
  }

  void aFailedMemoWriteIsToldAndTheMemoStaysUsable() {
    dir->Write("freememo.dat", Page("keep") + Page("two"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Text5->setPlainText(QStringLiteral("changed"));
    textfile::fault::Inject(textfile::fault::Step::Sync);
    m->Command2[3]->click();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral("ファイルの書込みに失敗しました。\n入出力エラーが発生しました"));
    QCOMPARE(m->CurrentPage(), 1);  // the page stays with its text
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("changed"));
    QCOMPARE(dir->Read("freememo.dat"), Page("keep") + Page("two"));
    m->Command2[3]->click();  // the next try works
    QCOMPARE(m->CurrentPage(), 2);
    QCOMPARE(dir->Read("freememo.dat"), Page("changed") + Page("two"));
  }

  void memoLineBreaksAreStoredAsCrLfAndReadInAnySpelling() {
    dir->Write("freememo.dat", Page("a\r\nb") + Page("c\rd") + Page("e\nf"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("a\nb"));
    m->Text5->setPlainText(QStringLiteral("a\nb\nx"));
    m->Command2[3]->click();
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("c\nd"));
    m->Command2[3]->click();  // unchanged pages keep their bytes
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("e\nf"));
    QCOMPARE(dir->Read("freememo.dat"), Page("a\r\nb\r\nx") + Page("c\rd") + Page("e\nf"));
  }

  void aFailedAppendKeepsThePageOnScreen() {
    dir->Write("freememo.dat", Page("keep"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Text5->setPlainText(QStringLiteral("edited"));
    textfile::fault::Inject(textfile::fault::Step::Rename, 2);  // the page is stored, the append fails
    m->Command2[0]->click();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(m->CurrentPage(), 1);
    QCOMPARE(m->Label6->text(), QStringLiteral("1/1"));
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("edited"));
    m->Command2[4]->click();  // a page move stores what is on screen, never an empty page
    QCOMPARE(dir->Read("freememo.dat"), Page("edited"));
  }

  void aPageCutInsideADoubleByteCharacterStaysEditable() {
    // "a" and 500 x "あ" cut at 1000 bytes: the last byte only begins an あ.
    std::string record = "a";
    for (int i = 0; i < 500; ++i) record += "\x82\xA0";
    record.resize(1000);
    dir->Write("freememo.dat", record);
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("a") + QString(499, QChar(0x3042)));
    m->Text5->setPlainText(QStringLiteral("b") + QString(499, QChar(0x3042)));
    m->Command2[0]->click();
    QCOMPARE(rec->records.size(), 0);  // nothing refused
    QCOMPARE(m->Label6->text(), QStringLiteral("2/2"));
    QCOMPARE(dir->Read("freememo.dat").substr(0, 1000), "b" + record.substr(1, 998) + " ");
  }

  void aMemoPageThatCannotBeStoredIsNeverDroppedOnClose() {
    dir->Write("freememo.dat", Page("keep"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Text5->setPlainText(QStringLiteral("unsaved"));
    textfile::fault::Inject(textfile::fault::Step::Rename,
                            1);  // the page (an unchanged ToDo list is not written)
    rec->answers << MsgResult::No;
    QVERIFY(!CloseWithButton(f));  // "no": the window stays, the text with it
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral(
                 "メモを保存できませんでした\nファイルの書込みに失敗しました。\n入出力エラーが発生しました\n"
                 "このページの変更を保存せずに閉じますか？\n（いいえ：閉じずに戻ります）"));
    QCOMPARE(rec->records[0].buttons, MsgButtons::YesNo);
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("unsaved"));
    QCOMPARE(dir->Read("freememo.dat"), Page("keep"));
    QVERIFY(CloseWithButton(f));  // the write works again: saved on the way out
    QCOMPARE(dir->Read("freememo.dat"), Page("unsaved"));
  }

  void aMemoPageNotStoredOnLeavingSurvivesTheWayBackAndTheClose() {
    dir->Write("freememo.dat", Page("keep") + Page("two"));
    FrmCal* f = OpenMemo();
    MemoPage* m = f->Memo;
    m->Text5->setPlainText(QStringLiteral("unsaved"));
    textfile::fault::Inject(textfile::fault::Step::Write);
    f->hTab->setCurrentIndex(0);  // leaving: the store fails and is told
    QCOMPARE(rec->records.size(), 1);
    textfile::fault::Inject(textfile::fault::Step::Write);
    f->hTab->setCurrentIndex(2);  // back: the second try fails too; the screen keeps the text
    QCOMPARE(rec->records.size(), 2);
    QCOMPARE(m->Text5->toPlainText(), QStringLiteral("unsaved"));
    QCOMPARE(m->Label6->text(), QStringLiteral("1/2"));
    textfile::fault::Inject(textfile::fault::Step::Write);
    f->hTab->setCurrentIndex(0);
    QCOMPARE(dir->Read("freememo.dat"), Page("keep") + Page("two"));
    QVERIFY(CloseWithButton(f));  // closed from the schedule page: the page is stored now
    QCOMPARE(rec->records.size(), 3);
    QCOMPARE(dir->Read("freememo.dat"), Page("unsaved") + Page("two"));
  }
};

QTEST_MAIN(OrganizerPagesTest)
#include "OrganizerPages_test.moc"
