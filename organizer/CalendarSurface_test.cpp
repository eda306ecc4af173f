#include "organizer/CalendarSurface.h"

#include <QImage>
#include <QtTest>

#include "organizer/CalendarModel.h"
#include "organizer/CalendarPictures.h"
#include "organizer/DayDecorations.h"
#include "organizer/ScheduleStore.h"
#include "platform/Clock.h"
#include "platform/Screen.h"
#include "platform/Twips.h"

namespace {
// The pixel rectangle of a day's cell.
QRect Cell(const CalendarSurface& s, int day) {
  const int index = day + s.FirstWday - 2;
  const double tx = screen::TwipsPerPixelX(), ty = screen::TwipsPerPixelY();
  // Pictures go at the cell's corner, which is where the number's line starts: 15 twips down.
  return QRect(twips::ToPixels((index % 7) * 285, tx), twips::ToPixels((index / 7) * 255 + 15, ty),
               twips::ToPixels(285, tx), twips::ToPixels(255, ty));
}
int Count(const QImage& img, const QRect& r, QColor c) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom() && y < img.height(); ++y)
    for (int x = r.left(); x <= r.right() && x < img.width(); ++x)
      if (img.pixelColor(x, y) == c) ++n;
  return n;
}
// The cell shows picture `index` at its corner: some of the picture's own (not white) pixels are seen
// in place, the rest being under the day number.
bool Shows(const QImage& img, const QRect& cell, int index) {
  const QImage pic = calendar_pictures::Picture(index).toImage();
  int seen = 0;
  for (int y = 0; y < cell.height(); ++y)
    for (int x = 0; x < cell.width(); ++x) {
      QColor c = pic.pixelColor(x, y);
      if (c.alpha() == 255 && c != QColor(Qt::white) && img.pixelColor(cell.topLeft() + QPoint(x, y)) == c)
        ++seen;
    }
  return seen >= 3;
}
const QColor kRed(240, 0, 0), kBlue(0, 0, 255), kMagenta(255, 0, 255), kBlack(0, 0, 0);
}  // namespace

class CalendarSurfaceTest : public QObject {
  Q_OBJECT
 private slots:
  void dayNumbersCarryTheirColours() {
    Clock::SetForTest(DateTime{2026, 1, 20, 12, 0, 0});
    CalendarSurface s;
    s.DrawCalendar(2026, 1, {});
    Clock::SetForTest(std::nullopt);
    QCOMPARE(s.Caption(), QStringLiteral("2026年1月"));
    QCOMPARE(s.FirstWday, 5);
    QCOMPARE(s.MonthDays, 31);
    const QImage img = s.Canvas().toImage();
    QVERIFY(Count(img, Cell(s, 1), kRed) > 5);  // 元日, a Thursday
    QCOMPARE(Count(img, Cell(s, 1), kBlack), 0);
    QVERIFY(Count(img, Cell(s, 3), kBlue) > 5);   // Saturday
    QVERIFY(Count(img, Cell(s, 4), kRed) > 5);    // Sunday
    QVERIFY(Count(img, Cell(s, 12), kRed) > 5);   // second Monday
    QVERIFY(Count(img, Cell(s, 5), kBlack) > 5);  // an ordinary Monday
    QCOMPARE(Count(img, Cell(s, 5), kRed), 0);
    QVERIFY(Count(img, Cell(s, 20), kMagenta) > 5);  // today
    QCOMPARE(Count(img, Cell(s, 20), kBlack), 0);
  }

  void marksAndIconsGoUnderTheirDay() {
    CalendarSurface s;
    MonthSchedule m;
    m.DayText[9] = "予定";
    m.DayMark[9] = 1;   // light cyan tile
    m.DayMark[10] = 3;  // no text: no mark
    m.DayAlarm[14] = 1;
    std::vector<std::string> todo{"026/12/17 open", "126/12/18 done"};
    // Today is drawn in a colour of its own: a day of another month, whatever the real date.
    Clock::SetForTest(DateTime{2026, 11, 20, 12, 0, 0});
    const int year = 2026, month = 12;
    const ScheduleDays days(m, year, month);
    const TodoDays items(todo);
    s.DrawCalendar(2026, 12, {&days, &items});
    Clock::SetForTest(std::nullopt);
    const QImage img = s.Canvas().toImage();
    if (!qEnvironmentVariableIsEmpty("DN_SHOTS"))
      img.scaled(img.size() * 4).save(qEnvironmentVariable("DN_SHOTS") + "/calendar.png");
    const QColor cyanTop = calendar_pictures::Picture(8).toImage().pixelColor(0, 0);
    const QColor magentaTop = calendar_pictures::Picture(10).toImage().pixelColor(0, 0);
    QVERIFY(Count(img, Cell(s, 10), cyanTop) > 0);
    QCOMPARE(Count(img, Cell(s, 11), magentaTop), 0);
    QCOMPARE(Count(img, Cell(s, 9), cyanTop), 0);
    QVERIFY(Shows(img, Cell(s, 17), calendar_pictures::kTodoOpen));
    QVERIFY(Shows(img, Cell(s, 18), calendar_pictures::kTodoDone));
    QVERIFY(!Shows(img, Cell(s, 17), calendar_pictures::kTodoDone));
    QVERIFY(!Shows(img, Cell(s, 19), calendar_pictures::kTodoOpen));
    QVERIFY(Shows(img, Cell(s, 15), calendar_pictures::kAlarm));
    QVERIFY(!Shows(img, Cell(s, 14), calendar_pictures::kAlarm));
    // The number is painted over the tile.
    QVERIFY(Count(img, Cell(s, 10), kBlack) > 5);
  }

  void monthsWrapAtBothEnds() {
    CalendarSurface s;
    // The ToDo marks are those of the month drawn, not of the month asked for.
    const std::vector<std::string> todo{"005/01/03 drawn month", "004/12/04 month asked for"};
    const TodoDays items(todo);
    s.DrawCalendar(2004, 13, {&items});
    QCOMPARE(s.Caption(), QStringLiteral("2005年1月"));
    QCOMPARE(s.FirstWday, 7);  // 1 January 2005 was a Saturday
    const QImage img = s.Canvas().toImage();
    QVERIFY(Shows(img, Cell(s, 3), calendar_pictures::kTodoOpen));
    QVERIFY(!Shows(img, Cell(s, 4), calendar_pictures::kTodoOpen));
    s.DrawCalendar(2005, 0, {});
    QCOMPARE(s.Caption(), QStringLiteral("2004年12月"));
    QCOMPARE(s.MonthDays, 31);
  }
};

QTEST_MAIN(CalendarSurfaceTest)
#include "CalendarSurface_test.moc"
