#include "organizer/FrmCal.h"
#include "testsupport/FailingWrites.h"

#include <sys/stat.h>

#include <QAccessible>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QTimeEdit>
#include <QToolButton>
#include <QToolTip>
#include <QtTest>
#include <array>
#include <filesystem>
#include <memory>

#include "organizer/CalendarPictures.h"
#include "organizer/DayDecorations.h"
#include "organizer/MemoPage.h"
#include "organizer/OrganizerLayout.h"
#include "organizer/OrganizerPages.h"
#include "organizer/OrganizerTestKit.h"
#include "organizer/SchedulePage.h"
#include "organizer/TodoPage.h"

namespace {
// A page the program does not have: all a fourth page needs is its class and a place in the page list.
class ExtraPage : public QObject, public OrganizerPage, public DayDecorations {
 public:
  explicit ExtraPage(QWidget* frame) : QObject(frame) {}
  QStringList calls;

  QString Title() const override { return QStringLiteral("ﾃｽﾄ"); }
  bool UsesCalendar() const override { return true; }
  void Enter() override { calls << QStringLiteral("enter"); }
  void Leave(bool) override { calls << QStringLiteral("leave"); }
  bool Close() override {
    calls << QStringLiteral("close");
    return true;
  }
  void Opened() override { calls << QStringLiteral("opened"); }
  void MonthShown(int year, int month) override {
    calls << QStringLiteral("month %1/%2").arg(year).arg(month);
  }
  void DayPicked(int, int, int day) override { calls << QStringLiteral("day %1").arg(day); }
  const DayDecorations* Decorations() const override { return this; }
  void AddPictures(int, int, int day, std::vector<DayPicture>& out) const override {
    if (day == 3) out.push_back({DayPicture::kAlarm, calendar_pictures::kAlarm});
  }
  std::string TipPart(int, int, int day) const override { return day == 3 ? "ﾃｽﾄの日" : ""; }
  int TipRank() const override { return 2; }  // below the schedule's text
};
}  // namespace

class FrmCalTest : public OrganizerTestBase {
  Q_OBJECT

 private slots:
  void init() { InitKit(); }
  void cleanup() { CleanupKit(); }

  void aFourthPageTakesItsTabTheCalendarAndTheFramesCalls() {
    Clock::SetForTest(DateTime{2026, 12, 7, 12, 0, 0});
    std::filesystem::create_directories(dir->File("Schedule"));
    dir->Write("Schedule/Sch2612.dat", Headers(2) + Sj("[D@TA]10\r\n会議\r\n") + Headers(28));
    ExtraPage* extra = nullptr;
    auto f = std::make_unique<FrmCal>(*ctx, nullptr, [&extra](QWidget* frame, AppContext& c) {
      OrganizerPages pages = MakeOrganizerPages(frame, c);
      extra = new ExtraPage(frame);
      pages.all.push_back(extra);
      return pages;
    });
    QVERIFY(rec->records.isEmpty());  // its tab was made: the frame is ready
    QCOMPARE(f->hTab->count(), 4);
    QCOMPARE(f->hTab->tabText(3), QStringLiteral("ﾃｽﾄ"));
    QCOMPARE(extra->calls, (QStringList{QStringLiteral("month 2026/12"), QStringLiteral("opened")}));
    f->show();
    Hover(f.get(), 3);
    QCOMPARE(f->View->TipText(), QStringLiteral("会議\r\n\r\nﾃｽﾄの日"));
    f->hTab->setCurrentIndex(3);
    QCOMPARE(extra->calls.last(), QStringLiteral("enter"));
    QVERIFY(f->InputOpen());
    QVERIFY(f->CalActive());
    f->View->DayClick();
    QCOMPARE(extra->calls.last(), QStringLiteral("day 3"));
    f->hTab->setCurrentIndex(0);
    QCOMPARE(extra->calls.last(), QStringLiteral("leave"));
    f->NextOrPrevious(+1);
    QCOMPARE(extra->calls.last(), QStringLiteral("month 2027/1"));
    f->close();
    QCOMPARE(extra->calls.last(), QStringLiteral("close"));
  }

  void opensNarrowAtThePointerWithItsDesignedParts() {
    dir->Write("Teldat1.tel", "[D@TA]\r\nentry\r\n" + Markers(43));
    main->GroupItems().Item(1)->trigger();
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("entry"));
    FrmCal* f = Open(QPoint(700, 500));
    QVERIFY(f);
    QVERIFY(ctx->session.SubWinOpen);
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("なし"));  // the letter menus are emptied
    QVERIFY(f->windowFlags() & Qt::FramelessWindowHint);
    QVERIFY(f->windowFlags() & Qt::WindowStaysOnTopHint);
    QCOMPARE(f->size(), QSize(PxX(2870), PxY(2370)));
    QCOMPARE(f->geometry().right() + 1, 700);  // lower right corner at the pointer
    QCOMPARE(f->geometry().bottom() + 1, 500);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月"));
    QStringList header;
    for (QLabel* l : f->View->Label1) header << l->text();
    QCOMPARE(header, (QStringList{"日", "月", "火", "水", "木", "金", "土"}));
    QCOMPARE(f->Picture2[0]->toolTip(), QStringLiteral("閉じる"));
    QCOMPARE(f->Picture2[2]->toolTip(), QStringLiteral("次の月へ"));
    QCOMPARE(f->Picture2[3]->toolTip(), QStringLiteral("前の月へ"));
    QCOMPARE(f->hTab->count(), 3);
    QCOMPARE(f->hTab->tabText(0), QStringLiteral("ｽｹｼﾞｭｰﾙ"));
    QCOMPARE(f->hTab->tabText(1), QStringLiteral("ToDo"));
    QCOMPARE(f->hTab->tabText(2), QStringLiteral("ﾌﾘｰﾒﾓ"));
    QCOMPARE(f->hTab->shape(), QTabBar::RoundedWest);
    QCOMPARE(basSubclassCount(), 1);
    QVERIFY(!f->InputOpen());
    QVERIFY(f->CalActive());
    for (int i = 0; i < 4; ++i)
      QCOMPARE(f->Picture2[static_cast<std::size_t>(i)]->x(),
               PxX(std::array{2565, 2325, 2085, 1845}[static_cast<std::size_t>(i)]));
    QCOMPARE(f->View->Label2->width(), PxX(1170));
    QCOMPARE(f->Line2[0]->x(), PxX(2870 - 15));
    QCOMPARE(f->Line2[1]->x(), PxX(2870 - 30));
    // The tip of button 1 follows the input window when the pointer moves over it.
    QTest::mouseMove(f->Picture2[1], QPoint(3, 3));
    QCOMPARE(f->Picture2[1]->toolTip(), QStringLiteral("入力ウィンドウを開く"));
    Release(f->Picture2[1]);
    QTest::mouseMove(f->Picture2[1], QPoint(4, 4));
    QCOMPARE(f->Picture2[1]->toolTip(), QStringLiteral("入力ウィンドウを閉じる"));
    // No second tray window while it is open.
    main->TrayMessage(TrayIcon::kLeftDown, QPoint(100, 100));
    int organisers = 0;
    for (QWidget* w : QApplication::topLevelWidgets()) organisers += qobject_cast<FrmCal*>(w) != nullptr;
    QCOMPARE(organisers, 1);
    QVERIFY(CloseWithButton(f));
    QVERIFY(!ctx->session.SubWinOpen);
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("entry"));  // reloaded for CurGroup
    QCOMPARE(basSubclassCount(), 0);
    QVERIFY(!dir->Exists("ToDo.dat"));  // nothing changed: nothing written
  }

  void aTrayAtTheLeftEdgeStillShowsTheWholeWindow() {
    FrmCal* f = Open(QPoint(40, 300));
    QCOMPARE(f->x(), 0);  // the designed place would be 151 pixels off the screen
    QCOMPARE(f->geometry().bottom() + 1, 300);
    Release(f->Picture2[1]);
    QCOMPARE(f->x(), 0);
    QCOMPARE(f->width(), PxX(6960));
  }

  void theEdgesAreDrawnAndTheStripMovesTheWindow() {
    FrmCal* f = Open();
    const QImage img = f->grab().toImage();
    const int mid = img.width() / 2;
    QCOMPARE(img.pixelColor(mid, 0), QColor(102, 109, 141));
    QCOMPARE(img.pixelColor(mid, 1), QColor(Qt::white));
    QCOMPARE(img.pixelColor(mid, img.height() - 1), QColor(102, 109, 141));
    QCOMPARE(img.pixelColor(mid, img.height() - 2), QColor(Qt::white));
    QCOMPARE(img.pixelColor(img.width() - 1, img.height() / 2), QColor(102, 109, 141));
    QCOMPARE(img.pixelColor(img.width() - 2, img.height() / 2), QColor(Qt::white));
    // Where the window system offers no move of its own (here), the strip moves the window itself.
    // Windows always moves it itself, in a loop of its own until the real button comes up.
    if (QGuiApplication::platformName() == QLatin1String("windows"))
      QSKIP("the window system moves the window itself (startSystemMove)");
    const QPoint before = f->pos();
    QTest::mousePress(f->Image3, Qt::LeftButton, {}, QPoint(5, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(5, 50),
                     f->Image3->mapToGlobal(QPointF(5, 50)) + QPointF(-30, -20), Qt::NoButton, Qt::LeftButton,
                     Qt::NoModifier);
    QCoreApplication::sendEvent(f->Image3, &move);
    QTest::mouseRelease(f->Image3, Qt::LeftButton, {}, QPoint(5, 50));
    QCOMPARE(f->pos(), before + QPoint(-30, -20));
  }

  void theInputWindowGrowsLeftwardsAndComesBack() {
    FrmCal* f = Open();
    const QRect narrow = f->geometry();
    Release(f->Picture2[1]);
    QVERIFY(f->InputOpen());
    QCOMPARE(f->width(), PxX(6960));
    QCOMPARE(f->x(), narrow.x() - PxX(4090));
    QCOMPARE(f->Picture2[0]->x(), PxX(6660));
    QCOMPARE(f->Picture2[1]->x(), PxX(6420));
    QCOMPARE(f->Picture2[2]->x(), PxX(2565));
    QCOMPARE(f->Picture2[3]->x(), PxX(2325));
    QCOMPARE(f->View->Label2->width(), PxX(1620));
    QCOMPARE(f->Line2[0]->x(), PxX(6960 - 15));
    QCOMPARE(f->Schedule->hDtp->time(), QTime(0, 0));
    QCOMPARE(f->Schedule->hDtp->displayFormat(), QStringLiteral("HH:mm"));
    // Any mouse button's release runs the action.
    Release(f->Picture2[1], Qt::RightButton);
    QVERIFY(!f->InputOpen());
    QCOMPARE(f->geometry(), narrow);
    // Pressed: the outline shows until the release.
    QTest::mousePress(f->Picture2[1], Qt::LeftButton);
    QVERIFY(f->Picture2[1]->Pressed());
    QTest::mouseRelease(f->Picture2[1], Qt::LeftButton);
    QVERIFY(!f->Picture2[1]->Pressed());
    QVERIFY(f->InputOpen());
    // A double click runs the action twice: open and closed again.
    Release(f->Picture2[1]);
    DoubleClick(f->Picture2[1]);
    QVERIFY(!f->InputOpen());
    QCOMPARE(f->geometry(), narrow);
  }

  void thePageSwitchFollowsItsTable() {
    struct Row {
      int index;
      bool marks, calActive, todoActive, inputOpen;
      int todoTop, memoTop, button0, button1;
    };
    // Where each page puts the pages and the buttons, by the layout table: a hidden page sits below the
    // window; the memo page keeps the input button where the narrow window has it.
    namespace L = organizer_layout;
    const Row rows[] = {
        {0, true, true, false, true, L::kPicture6HiddenTop, L::kPicture4HiddenTop, L::kButtonLeftWide[0],
         L::kButtonLeftWide[1]},
        {1, false, true, true, true, L::kPicture6.top, L::kPicture4HiddenTop, L::kButtonLeftWide[0],
         L::kButtonLeftWide[1]},
        {2, false, false, false, false, L::kPicture6HiddenTop, L::kPicture4.top, L::kButtonLeftWide[0],
         L::kButtonLeftNarrow[1]},
    };
    for (const Row& r : rows) {
      FrmCal* f = Open();
      const int narrowLeft = f->x();
      f->ChgSM(r.index);
      QCOMPARE(f->width(), PxX(L::kWideWidth));
      QCOMPARE(f->x(), narrowLeft - PxX(L::kShift));  // widened leftwards, right edge kept
      // The marks (and the alarm switch and time) act on the picked day: usable once one is picked.
      QVERIFY(!f->Schedule->Option1[0]->isEnabled());
      QVERIFY(!f->Schedule->Check1->isEnabled());
      QCOMPARE(f->CalActive(), r.calActive);
      QCOMPARE(f->Todo->Active(), r.todoActive);
      QCOMPARE(f->InputOpen(), r.inputOpen);
      QCOMPARE(f->Todo->Picture6->y(), PxY(r.todoTop));
      QCOMPARE(f->Todo->Picture6->isEnabled(), r.index == 1);
      QCOMPARE(f->Memo->Picture4->y(), PxY(r.memoTop));
      QCOMPARE(f->Memo->Picture4->isEnabled(), r.index == 2);
      QCOMPARE(f->Picture2[0]->x(), PxX(r.button0));
      QCOMPARE(f->Picture2[1]->x(), PxX(r.button1));
      QVERIFY(!f->Schedule->Text1->isEnabled());
      QVERIFY(!f->Schedule->Command1->isEnabled());
      QVERIFY(!f->Todo->Text2->isEnabled());
      for (QToolButton* b : f->Todo->Command5) QVERIFY(!b->isEnabled());
      if (r.index != 2) QCOMPARE(f->View->Label2->width(), PxX(L::kLabel2WidthWide));
      const int cell = 5 + f->View->Picture1->FirstWday - 2;  // day 5, pointed at and clicked
      f->View->TrackPointer((cell % 7) * 285 + 150, (cell / 7) * 255 + 125);
      f->View->DayClick();
      QCOMPARE(f->Schedule->Option1[0]->isEnabled(), r.marks);
      QCOMPARE(f->Schedule->Check1->isEnabled(), r.marks);
      QCOMPARE(f->Schedule->Picture3->isEnabled(), r.marks);
      // Already wide: another switch does not move it.
      const int wideLeft = f->x();
      f->ChgSM((r.index + 1) % 3);
      QCOMPARE(f->x(), wideLeft);
      QCOMPARE(f->width(), PxX(6960));
      f->ChgSM(7);  // any other index only hides the marker
      QVERIFY(CloseWithButton(f));
    }
  }

  void theTabStripReachesThePageSwitch() {
    FrmCal* f = Open();
    f->hTab->setCurrentIndex(1);
    QVERIFY(f->Todo->Active());
    QCOMPARE(f->Todo->Picture6->y(), PxY(50));
    f->hTab->setCurrentIndex(0);
    QVERIFY(!f->Todo->Active());
    f->UnhookTabHost(f->Picture5);
    f->hTab->setCurrentIndex(1);
    QVERIFY(!f->Todo->Active());  // unhooked: the strip no longer switches pages
    f->HookTabHost(f->Picture5);
    f->HookTabHost(f->Picture5);  // one hook at a time: the second does nothing
    f->hTab->setCurrentIndex(2);
    QVERIFY(!f->CalActive());
  }

  void pointerTrackingMarkerAndTips() {
    dir->Write("ToDo.dat", Sj("126/12/03 資料を送る\r\n026/12/03 電話する\r\n026/12/04 other\r\n"));
    std::filesystem::create_directories(dir->File("Schedule"));
    dir->Write("Schedule/Sch2612.dat", Headers(2) + Sj("[D@TA]1109:30\r\n会議\r\n") + Headers(28));
    FrmCal* f = Open();
    Hover(f, 3);
    QCOMPARE(f->View->PointDay(), 3);
    QVERIFY(f->View->shpDay->isVisible());
    const int index = 3 + f->View->Picture1->FirstWday - 2;
    QCOMPARE(f->View->shpDay->y(), PxY((index / 7) * 255 + 15));
    QCOMPARE(f->View->shpDay->size(), QSize(PxX(270), PxY(240)));
    QCOMPARE(f->View->shpDay->styleSheet().contains("rgb(128, 128, 255)"), true);
    QCOMPARE(f->View->TipText(), QStringLiteral("[◎] 資料を送る\r\n[×] 電話する\r\n\r\n会議"));
    // Shown as text, never as markup, line by line.
    QCOMPARE(QTextDocumentFragment::fromHtml(f->View->Picture1->toolTip()).toPlainText(),
             QStringLiteral("[◎] 資料を送る\n[×] 電話する\n会議"));
    Hover(f, 4);
    QCOMPARE(f->View->TipText(), QStringLiteral("[×] other"));
    Hover(f, 10);
    QCOMPARE(f->View->TipText(), QString());
    QVERIFY(f->View->Picture1->toolTip().isEmpty());
    // Outside the month's days: no marker.
    QTest::mouseMove(f->View->Picture1, QPoint(2, 2));
    QVERIFY(f->View->PointDay() < 1);
    QVERIFY(!f->View->shpDay->isVisible());
    // The drag strip and the header hide the marker but keep PointDay; Text1 forgets it.
    Hover(f, 4);
    QTest::mouseMove(f->Image3, QPoint(5, 5));
    QVERIFY(!f->View->shpDay->isVisible());
    QCOMPARE(f->View->PointDay(), 4);
    Hover(f, 4);
    QTest::mouseMove(f->View->Label1[2], QPoint(3, 3));
    QVERIFY(!f->View->shpDay->isVisible());
    QCOMPARE(f->View->PointDay(), 4);
    Release(f->Picture2[1]);
    Hover(f, 4);
    QTest::mouseMove(f->Schedule->Text1->viewport(), QPoint(5, 5));
    QVERIFY(!f->View->shpDay->isVisible());
    QCOMPARE(f->View->PointDay(), 0);
  }

  void theAlarmSwitchActsOnlyOnADayOfTheMonthShown() {
    FrmCal* f = Open();
    Release(f->Picture2[1]);
    QVERIFY(!f->Schedule->Check1->isEnabled());
    QVERIFY(!f->Schedule->hDtp->isEnabled());
    ClickDay(f, 15);
    QVERIFY(f->Schedule->Check1->isEnabled());
    Release(f->Picture2[2]);  // January 2027: day 15 of December is shown nowhere
    QVERIFY(!f->Schedule->Check1->isEnabled());
    QVERIFY(!f->Schedule->hDtp->isEnabled());
    QVERIFY(!f->Schedule->Option1[3]->isEnabled());
    QTest::mouseClick(f->Schedule->Check1, Qt::LeftButton);
    QCOMPARE(f->Schedule->Month().DayAlarm[14], 0);
    ClickDay(f, 20);
    f->Schedule->Text1->setPlainText(QStringLiteral("x"));
    f->Schedule->Command1->click();
    QVERIFY(CloseWithButton(f));
    const std::string jan = dir->Read("Schedule/Sch2701.dat");
    QVERIFY(jan.find("[D@TA]01") == std::string::npos);  // no day got an alarm the user never set
  }

  void tipsShowWhateverWindowIsActiveAndStayOnTheScreen() {
    std::filesystem::create_directories(dir->File("Schedule"));
    std::string many;
    for (int i = 1; i <= 400; ++i) many += "line " + std::to_string(i) + "\r\n";
    dir->Write("Schedule/Sch2612.dat", Headers(2) + "[D@TA]00\r\n" + many + Headers(28));
    FrmCal* f = Open();
    QWidget other;
    other.show();
    QApplication::setActiveWindow(&other);
    QVERIFY(!f->isActiveWindow());
    QHelpEvent help(QEvent::ToolTip, QPoint(3, 3), f->Picture2[0]->mapToGlobal(QPoint(3, 3)));
    QApplication::sendEvent(f->Picture2[0], &help);
    QTRY_VERIFY(QToolTip::isVisible());
    QCOMPARE(QToolTip::text(), QStringLiteral("閉じる"));
    QToolTip::hideText();
    // 400 lines: cut to what the screen holds, the last line "…".
    Hover(f, 3);
    const QStringList lines = f->View->TipText().split(QStringLiteral("\n"));
    const int fit =
        (f->screen()->availableGeometry().height() - 16) / QFontMetrics(QToolTip::font()).lineSpacing();
    QCOMPARE(lines.size(), fit);
    QCOMPARE(lines.first(), QStringLiteral("line 1"));
    QCOMPARE(lines.last(), QStringLiteral("…"));
  }

  void closingTheInputWindowReturnsToTheLeftEdgeItHad() {
    FrmCal* f = Open(QPoint(10, 10));  // tray at the top left: kept on the screen at x = 0
    QCOMPARE(f->x(), 0);
    for (int i = 0; i < 3; ++i) {
      Release(f->Picture2[1]);
      QCOMPARE(f->x(), 0);
      Release(f->Picture2[1]);
      QCOMPARE(f->x(), 0);
      QCOMPARE(f->width(), PxX(2870));
    }
    // Dragged while wide: the right edge stays where the user put it.
    Release(f->Picture2[1]);
    f->move(300, f->y());
    Release(f->Picture2[1]);
    QCOMPARE(f->x(), 300 + PxX(4090));
  }

  void theKeyboardReachesEveryControlAndScreenReadersNameThePictureButtons() {
    FrmCal* f = Open();
    auto name = [](QWidget* w) { return QAccessible::queryAccessibleInterface(w)->text(QAccessible::Name); };
    QCOMPARE(name(f->Picture2[0]), QStringLiteral("閉じる"));
    QCOMPARE(QAccessible::queryAccessibleInterface(f->Picture2[0])->role(), QAccessible::Button);
    QCOMPARE(name(f->Picture2[2]), QStringLiteral("次の月へ"));
    QCOMPARE(name(f->Picture2[3]), QStringLiteral("前の月へ"));
    QCOMPARE(name(f->Picture2[1]), QStringLiteral("入力ウィンドウを開く"));
    // Space on the focused button opens the input window.
    f->Picture2[1]->setFocus();
    QTest::keyClick(f->Picture2[1], Qt::Key_Space);
    QVERIFY(f->InputOpen());
    QCOMPARE(name(f->Picture2[1]), QStringLiteral("入力ウィンドウを閉じる"));
    for (QToolButton* b : f->Todo->Command5) QCOMPARE(name(b), b->toolTip());
    for (QToolButton* b : f->Memo->Command2) QCOMPARE(name(b), b->toolTip());

    ClickDay(f, 5);
    SchedulePage* s = f->Schedule;
    s->Text1->setFocus();
    s->Text1->insertPlainText(QStringLiteral("会議"));
    QWidget* at = s->Text1;
    QList<QWidget*> order;
    for (int i = 0; i < 5; ++i) {
      QTest::keyClick(at, Qt::Key_Tab);
      at = QApplication::focusWidget();
      order << at;
    }
    QCOMPARE(s->Text1->toPlainText(), QStringLiteral("会議"));  // no TAB typed
    // The marks are one stop, as a row of choices is: Tab reaches the chosen one, arrows the others.
    QCOMPARE(order[0], static_cast<QWidget*>(s->Option1[0]));
    QCOMPARE(order[1], static_cast<QWidget*>(s->Check1));
    // The time takes Tab for its hour, then its minute, as the time picker does.
    QCOMPARE(order[2], static_cast<QWidget*>(s->hDtp));
    QCOMPARE(order[3], static_cast<QWidget*>(s->hDtp));
    QCOMPARE(order[4], static_cast<QWidget*>(s->Command1));
    s->Option1[0]->setFocus();
    QTest::keyClick(s->Option1[0], Qt::Key_Right);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(s->Option1[1]));
    QTest::keyClick(s->Command1, Qt::Key_Space);  // 登録 by keyboard
    QCOMPARE(f->Schedule->Month().DayText[4], std::string("会議"));
    s->Command1->setFocus();
    QTest::keyClick(s->Command1, Qt::Key_Tab, Qt::ShiftModifier);
    QVERIFY(QApplication::focusWidget() == s->hDtp || s->hDtp->isAncestorOf(QApplication::focusWidget()));

    // The memo text hands Tab on too.
    f->ChgSM(2);
    f->Memo->Text5->setFocus();
    QTest::keyClick(f->Memo->Text5, Qt::Key_Tab);
    QVERIFY(!f->Memo->Text5->toPlainText().contains(QLatin1Char('\t')));
    QVERIFY(QApplication::focusWidget() != f->Memo->Text5);
  }

  void registrationStoresTheDayAndTheSavePointWritesIt() {
    FrmCal* f = Open();
    ClickDay(f, 5);  // input window closed: ignored
    QCOMPARE(f->View->SelDay(), 0);
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    QCOMPARE(f->View->SelDay(), 5);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月5日"));
    QVERIFY(f->Schedule->Text1->isEnabled());
    QVERIFY(f->Schedule->Command1->isEnabled());
    f->Schedule->Text1->setPlainText(QStringLiteral("会議  \n資料\n  \n\n\n"));
    f->Schedule->Option1[4]->click();
    f->Schedule->Check1->click();
    f->Schedule->hDtp->setTime(QTime(9, 30));
    f->Schedule->Command1->click();
    QVERIFY(f->Schedule->Dirty());
    QCOMPARE(f->Schedule->Month().DayText[4], std::string("会議  \r\n資料"));
    QCOMPARE(f->Schedule->Month().DayMark[4], 4);
    QCOMPARE(f->Schedule->Month().DayAlarm[4], 1);
    QCOMPARE(f->Schedule->Month().DayTime[4], std::string("09:30"));
    QVERIFY(!dir->Exists("Schedule/Sch2612.dat"));  // registration writes nothing
    // Closing the input window is a save point.
    Release(f->Picture2[1]);
    QCOMPARE(dir->Read("Schedule/Sch2612.dat"),
             Headers(4) + Sj("[D@TA]4109:30\r\n会議  \r\n資料\r\n") + Headers(26));
    QVERIFY(!f->Schedule->Dirty());
    QVERIFY(!f->Schedule->Text1->isEnabled());
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月"));
    // Reopening and choosing the day shows what was registered.
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    QCOMPARE(f->Schedule->Text1->toPlainText(), QStringLiteral("会議  \n資料"));
    QVERIFY(f->Schedule->Option1[4]->isChecked());
    QVERIFY(f->Schedule->Check1->isChecked());
    QCOMPARE(f->Schedule->hDtp->time(), QTime(9, 30));
    // An empty text with the alarm on: stored empty, the alarm on.
    ClickDay(f, 6);
    f->Schedule->Option1[0]->click();
    f->Schedule->Check1->click();
    f->Schedule->Command1->click();
    QCOMPARE(f->Schedule->Month().DayText[5], std::string());
    QCOMPARE(f->Schedule->Month().DayAlarm[5], 1);
  }

  void aTimeRegisteredForTodayRingsToday() {
    FrmCal* f = Open();
    ctx->alarm.Set(false, ctx->alarm.Time(), {20261207, 8 * 60});  // the clock has checked today already
    Release(f->Picture2[1]);
    ClickDay(f, 7);  // today
    f->Schedule->Check1->click();
    f->Schedule->hDtp->setTime(QTime(9, 1));
    f->Schedule->Command1->click();
    QVERIFY(ctx->alarm.Armed());
    QCOMPARE(ctx->alarm.Time(), std::string("09:01"));
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 1, 0});
    main->Timer1_Timer();
    QVERIFY(main->isVisible());  // the alarm window came up while the organiser is open
    main->Command1_Click();
    QVERIFY(CloseWithButton(f));
    QCOMPARE(ctx->alarm.Time(), std::string("09:01"));  // reloaded from the saved month
  }

  void textTheFileCannotCarryIsRefusedAtRegistration() {
    FrmCal* f = Open();
    Release(f->Picture2[1]);
    ClickDay(f, 2);
    f->Schedule->Text1->setPlainText(QStringLiteral("笑顔 😀"));
    f->Schedule->Command1->click();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text, QStringLiteral("スケジュールに使えない文字があります：😀"));
    f->Schedule->Text1->setPlainText(QStringLiteral("ok\n[D@TA]11 pretending"));
    f->Schedule->Command1->click();
    QCOMPARE(rec->records.size(), 2);
    QCOMPARE(rec->records[1].text, QStringLiteral("「[D@TA]」で始まる行は登録できません"));
    QVERIFY(!f->Schedule->Dirty());
    QCOMPARE(f->Schedule->Month().DayText[1], std::string());
  }

  void monthStepsSaveFirstAndCrossTheYear() {
    FrmCal* f = Open();
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    f->Schedule->Text1->setPlainText(QStringLiteral("x"));
    f->Schedule->Command1->click();
    Release(f->Picture2[2]);  // next: the changed December is saved first
    QVERIFY(dir->Exists("Schedule/Sch2612.dat"));
    QCOMPARE(f->View->Year(), 2027);
    QCOMPARE(f->View->Month(), 1);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2027年1月"));
    QCOMPARE(f->View->SelDay(), 5);  // kept
    QVERIFY(!f->Schedule->Text1->isEnabled());
    QVERIFY(!f->Schedule->Command1->isEnabled());
    QVERIFY(!dir->Exists("Schedule/Sch2701.dat"));  // unchanged: never written
    Release(f->Picture2[3]);
    Release(f->Picture2[3]);
    QCOMPARE(f->View->Year(), 2026);
    QCOMPARE(f->View->Month(), 11);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年11月"));
    QVERIFY(!dir->Exists("Schedule/Sch2701.dat"));
    QCOMPARE(f->View->Picture1->MonthDays, 30);
    // Back to December: the saved day shows.
    Release(f->Picture2[2]);
    QCOMPARE(f->Schedule->Month().DayText[4], std::string("x"));
  }

  void aFailedSaveKeepsTheChangesUntilTheUserGivesThemUp() {
    std::filesystem::create_directories(dir->File("Schedule"));
    dir->Write("Schedule/Sch2612.dat", Headers(31));
    ::chmod(dir->File("Schedule/Sch2612.dat").c_str(), 0444);
    FrmCal* f = Open();
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    f->Schedule->Text1->setPlainText(QStringLiteral("keep me"));
    f->Schedule->Command1->click();
    rec->answers << MsgResult::No;
    Release(f->Picture2[2]);  // the step does not happen
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(rec->records[0].text,
             QStringLiteral(
                 "スケジュールを保存できませんでした\nスケジュールファイル(Sch2612.dat)"
                 "に書き込めませんでした\nアクセスが拒否されました\n"
                 "変更を破棄して続けますか？\n（いいえ：変更を残します。もう一度操作すると保存し直します）"));
    QCOMPARE(rec->records[0].icon, MsgIcon::Question);
    QCOMPARE(f->View->Month(), 12);
    QVERIFY(f->Schedule->Dirty());
    QCOMPARE(f->Schedule->Month().DayText[4], std::string("keep me"));
    rec->answers << MsgResult::No;
    QPointer<FrmCal> guard(f);
    Release(f->Picture2[0]);  // nor the close
    QVERIFY(guard);
    QVERIFY(ctx->session.SubWinOpen);
    ::chmod(dir->File("Schedule/Sch2612.dat").c_str(), 0644);  // the user frees the file: retry works
    QVERIFY(CloseWithButton(f));
    QCOMPARE(dir->Read("Schedule/Sch2612.dat"),
             SavedHeaders(4) + "[D@TA]0000:00\r\nkeep me\r\n" + SavedHeaders(26));

    // Each failing step of the rewrite, then giving the changes up.
    for (auto step : {textfile::fault::Step::Write, textfile::fault::Step::Rename}) {
      const std::string before = dir->Read("Schedule/Sch2612.dat");
      f = Open();
      Release(f->Picture2[1]);
      ClickDay(f, 6);
      f->Schedule->Text1->setPlainText(QStringLiteral("lost by choice"));
      f->Schedule->Command1->click();
      textfile::fault::Inject(step);
      rec->answers << MsgResult::Yes;
      QVERIFY(CloseWithButton(f));
      QCOMPARE(dir->Read("Schedule/Sch2612.dat"), before);
    }
  }

  void aMonthThatCouldNotBeReadIsNeverOverwritten() {
    std::filesystem::create_directories(dir->File("Schedule/Sch2612.dat"));
    FrmCal* f = Open();
    QCOMPARE(rec->records.size(), 1);
    QCOMPARE(
        rec->records[0].text,
        QStringLiteral(
            "スケジュールファイル(Sch2612.dat)を正しく読み込めませんでした\nこの月の変更は保存されません"));
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    f->Schedule->Text1->setPlainText(QStringLiteral("x"));
    f->Schedule->Command1->click();
    rec->answers << MsgResult::Yes;
    QVERIFY(CloseWithButton(f));
    QVERIFY(rec->records[1].text.contains(QStringLiteral("正しく読み込めなかったため、上書きしません")));
    QVERIFY(std::filesystem::is_directory(dir->File("Schedule/Sch2612.dat")));
  }

  void damagedFilesStillDrawAndLoseNothing() {
    std::filesystem::create_directories(dir->File("Schedule"));
    const std::string month =
        "junk before\r\n[D@TA]9x\r\n\x82\x20"
        "bad\r\n[D@TA]\r\n" +
        Headers(30) + "[D@TA]11\r\nbeyond\r\n";
    dir->Write("Schedule/Sch2612.dat", month);
    dir->Write("ToDo.dat", "0ab/00/99 garbage\r\n100/00/00 zero\r\n0\r\n\x82\r\n");
    FrmCal* f = Open();
    QCOMPARE(f->View->Picture1->MonthDays, 31);
    QCOMPARE(f->View->Label2->text(), QStringLiteral("2026年12月"));
    QVERIFY(CloseWithButton(f));  // nothing changed: the month is not written, the ToDo file kept
    QCOMPARE(dir->Read("Schedule/Sch2612.dat"), month);
    QCOMPARE(dir->Read("ToDo.dat"), std::string("0ab/00/99 garbage\r\n100/00/00 zero\r\n0\r\n\x82\r\n"));
  }

  void anyOtherCloseRunsTheCloseButtonsSteps() {
    dir->Write("Teldat1.tel", "[D@TA]\r\nentry\r\n" + Markers(43));
    FrmCal* f = Open();
    Release(f->Picture2[1]);
    ClickDay(f, 5);
    f->Schedule->Text1->setPlainText(QStringLiteral("saved on any close"));
    f->Schedule->Command1->click();
    QPointer<FrmCal> guard(f);
    f->close();  // the window manager's close
    QVERIFY(QTest::qWaitFor([&guard] { return guard.isNull(); }, 5000));
    QVERIFY(dir->Read("Schedule/Sch2612.dat").find("saved on any close") != std::string::npos);
    QCOMPARE(main->LetterItems(1).Caption(1), QStringLiteral("entry"));
  }
};

QTEST_MAIN(FrmCalTest)
#include "FrmCal_test.moc"
