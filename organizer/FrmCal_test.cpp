#include "organizer/FrmCal.h"

#include <sys/stat.h>

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTimeEdit>
#include <QToolButton>
#include <QtTest>
#include <memory>

#include "core/Form1.h"
#include "core/Module1.h"
#include "organizer/CalendarSurface.h"
#include "organizer/CalendarView.h"
#include "organizer/MemoPage.h"
#include "organizer/PictureButton.h"
#include "organizer/SchedulePage.h"
#include "organizer/TodoPage.h"
#include "platform/Clock.h"
#include "platform/TextFile.h"
#include "platform/TrayIcon.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"

namespace {
[[maybe_unused]] std::string Headers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]00\r\n";
  return s;
}
// The file a save of an otherwise empty month writes: 31 headers with 00:00.
[[maybe_unused]] std::string SavedHeaders(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]0000:00\r\n";
  return s;
}
}  // namespace

class FrmCalTest : public QObject {
  Q_OBJECT
  std::unique_ptr<TempDir> dir;
  std::unique_ptr<MsgBoxRecorder> rec;
  std::unique_ptr<Form1> main;

  // Opens the organiser as a left click on the tray icon does.
  FrmCal* Open(QPoint at = QPoint(900, 700)) {
    main->TrayMessage(TrayIcon::kLeftDown, at);
    FrmCal* f = OpenWindow<FrmCal>();
    if (f) (void)QTest::qWaitForWindowExposed(f);
    return f;
  }
  // Points at `day` of the shown month (the middle of its number) and clicks it.
  QPoint DayPoint(FrmCal* f, int day) {
    const int index = day + f->View->Picture1->FirstWday - 2;
    return QPoint(PxX((index % 7) * 285 + 30 + 120), PxY((index / 7) * 255 + 15 + 110));
  }
  void Hover(FrmCal* f, int day) { QTest::mouseMove(f->View->Picture1, DayPoint(f, day)); }
  void ClickDay(FrmCal* f, int day) {
    Hover(f, day);
    QTest::mouseClick(f->View->Picture1, Qt::LeftButton, {}, DayPoint(f, day));
  }
  void Release(PictureButton* b, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(b, button);
    QTest::mouseRelease(b, button);
  }
  bool CloseWithButton(FrmCal* f) {
    QPointer<FrmCal> guard(f);
    Release(f->Picture2[0]);
    return QTest::qWaitFor([&guard] { return guard.isNull(); }, 5000);
  }

 private slots:
  void init() {
    dir = std::make_unique<TempDir>();
    Module1::SetAppDirForTest(dir->Path());
    Module1::SubWinOpen = false;
    Module1::CurGroup = 1;
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 0, 0});
    rec = std::make_unique<MsgBoxRecorder>();
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=g\r\nClipen=True\r\nTopview=True\r\n");
    main = std::make_unique<Form1>();
    main->SetWindowFactory(Form1::SubWindow::Organizer, [] { return new FrmCal; });
  }
  void cleanup() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<FrmCal*>(w)) delete f;
    main.reset();
    rec.reset();
    dir.reset();
    Clock::SetForTest(std::nullopt);
    textfile::fault::Clear();
  }

  void pointerTracking() {
    FrmCal* f = Open();
    QVERIFY(f);
    Hover(f, 3);
    QCOMPARE(f->State().PointDay, 3);
    QVERIFY(f->View->shpDay->isVisible());
  }
};

QTEST_MAIN(FrmCalTest)
#include "FrmCal_test.moc"
