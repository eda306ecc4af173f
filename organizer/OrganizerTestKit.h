// What the organiser's window tests share: a program folder, a message recorder, the main window with
// the organiser's maker, a fixed today (Monday 7 December 2026), and ways to point, click and release.
#pragma once

#include <QPointer>
#include <QtTest>
#include <memory>
#include <string>

#include "core/Form1.h"
#include "core/Module1.h"
#include "organizer/CalendarSurface.h"
#include "organizer/CalendarView.h"
#include "organizer/FrmCal.h"
#include "organizer/PictureButton.h"
#include "platform/Clock.h"
#include "platform/Subclass.h"
#include "platform/TextFile.h"
#include "platform/TrayIcon.h"
#include "testsupport/MsgBoxRecorder.h"
#include "testsupport/QtHelpers.h"
#include "testsupport/TempDir.h"
#include "testsupport/TestText.h"
#include "testsupport/WindowTestKit.h"

inline std::string Headers(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]00\r\n";
  return s;
}
// Headers as a save writes them for days that were read with a header: with 00:00.
inline std::string SavedHeaders(int n) {
  std::string s;
  for (int i = 0; i < n; ++i) s += "[D@TA]0000:00\r\n";
  return s;
}

class OrganizerTestBase : public WindowTestKit {
 protected:
  std::unique_ptr<Form1> main;

  // Opens the organiser as a left click on the tray icon does.
  FrmCal* Open(QPoint at = QPoint(700, 500)) {
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
  // Qt sends no move to where the pointer already is: come from a point beside it.
  void Hover(FrmCal* f, int day) {
    QTest::mouseMove(f->View->Picture1, DayPoint(f, day) + QPoint(1, 1));
    QTest::mouseMove(f->View->Picture1, DayPoint(f, day));
  }
  void ClickDay(FrmCal* f, int day) {
    Hover(f, day);
    QTest::mouseClick(f->View->Picture1, Qt::LeftButton, {}, DayPoint(f, day));
  }
  // A double click as the window system reports one: press, release, press, double click, release. (Qt
  // Test's own, through the window system layer as the Windows tests send it, leaves out a release.)
  static void DoubleClick(QWidget* w) {
    const QPointF at = QRectF(w->rect()).center();
    const QPointF global = w->mapToGlobal(at);
    const struct {
      QEvent::Type type;
      Qt::MouseButtons buttons;
    } steps[] = {{QEvent::MouseButtonPress, Qt::LeftButton},
                 {QEvent::MouseButtonRelease, Qt::NoButton},
                 {QEvent::MouseButtonPress, Qt::LeftButton},
                 {QEvent::MouseButtonDblClick, Qt::LeftButton},
                 {QEvent::MouseButtonRelease, Qt::NoButton}};
    for (const auto& step : steps) {
      QMouseEvent e(step.type, at, global, Qt::LeftButton, step.buttons, Qt::NoModifier);
      QApplication::sendEvent(w, &e);
    }
  }
  void Release(PictureButton* b, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mousePress(b, button);
    QTest::mouseRelease(b, button);
  }
  static int basSubclassCount() { return basSubclass::RegisteredCount(); }
  bool CloseWithButton(FrmCal* f) {
    QPointer<FrmCal> guard(f);
    Release(f->Picture2[0]);
    return QTest::qWaitFor([&guard] { return guard.isNull(); }, 5000);
  }

  void InitKit() {
    StartKit();
    Clock::SetForTest(DateTime{2026, 12, 7, 9, 0, 0});
    dir->Write("dnstplus.ini", "[Data]\r\nDATA1=g\r\nClipen=True\r\nTopview=True\r\n");
    main = std::make_unique<Form1>();
    main->SetBookWindowFactory(Form1::SubWindow::Organizer, [] { return new FrmCal; });
  }
  void CleanupKit() {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* f = qobject_cast<FrmCal*>(w)) delete f;
    main.reset();
    StopKit();
  }
};
