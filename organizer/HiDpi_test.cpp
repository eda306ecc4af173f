// On a 2x screen every picture the program draws has twice the pixels, not a 1x picture scaled up.
#include <QApplication>
#include <QLabel>
#include <QPainter>
#include <QToolButton>
#include <QtTest>

#include "core/Form3.h"
#include "core/Icons.h"
#include "core/Module1.h"
#include "organizer/CalendarPictures.h"
#include "organizer/CalendarSurface.h"
#include "organizer/FrmCal.h"
#include "organizer/ScheduleStore.h"
#include "testsupport/TempDir.h"

namespace {
// Pixels only: the ratio the picture carries is checked apart.
QImage Pixels(const QPixmap& pm) {
  QImage img = pm.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
  img.setDevicePixelRatio(1);
  return img;
}
// Pixels of a and b that differ by more than a rounding step in any channel.
int Differing(const QImage& a, const QImage& b) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      if (std::abs(p.red() - q.red()) > 8 || std::abs(p.green() - q.green()) > 8 ||
          std::abs(p.blue() - q.blue()) > 8 || std::abs(p.alpha() - q.alpha()) > 8)
        ++n;
    }
  return n;
}
QImage Drawn(int size) {
  QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  icons::PaintPhoneBook(p, size);
  return img;
}
}  // namespace

class HiDpiTest : public QObject {
  Q_OBJECT
 private slots:
  // Not a test of the program: the cases below mean something only on a screen of twice the density.
  void initTestCase() { QVERIFY2(qApp->devicePixelRatio() == 2.0, "the test runs at QT_SCALE_FACTOR=2"); }

  void trayIconIsDrawnAtEverySizeAskedFor() {
    const QIcon icon = icons::TrayIcon();
    for (int size : {16, 22, 24, 32, 48, 64}) {
      const QPixmap at2x = icon.pixmap(QSize(size, size), 2.0);
      QCOMPARE(at2x.size(), QSize(2 * size, 2 * size));
      QCOMPARE(Pixels(at2x), Drawn(2 * size));
    }
  }

  void aboutBoxPictureHasTheScreensPixels() {
    Form3 about;
    const QPixmap pm = about.findChild<QLabel*>("Image1")->pixmap();
    QCOMPARE(pm.devicePixelRatio(), 2.0);
    QCOMPARE(pm.size(), QSize(32, 32));
    // Drawn at 32 pixels, not the 16-pixel picture blown up.
    const QImage blownUp = Drawn(16).scaled(32, 32);
    QVERIFY2(Differing(Pixels(pm), Drawn(32)) < 10,
             qPrintable(QString::number(Differing(Pixels(pm), Drawn(32)))));
    QVERIFY(Differing(blownUp, Drawn(32)) > 50);
    QCOMPARE(icons::AlarmBell(32).size(), QSize(64, 64));
  }

  void calendarPicturesAndCanvasHaveTheScreensPixels() {
    for (int index = 2; index <= 12; ++index) {
      const QPixmap pm = calendar_pictures::Picture(index);
      QCOMPARE(pm.devicePixelRatio(), 2.0);
      QCOMPARE(pm.deviceIndependentSize().toSize(),
               index >= 7 && index <= 10 ? QSize(18, 16) : QSize(32, 32));
    }
    QCOMPARE(calendar_pictures::ButtonPicture(0).size(), QSize(32, 32));
    // A mark choice shows the whole corner its mark is drawn in, at the screen's pixels.
    for (int mark = 0; mark < 8; ++mark) {
      const QPixmap choice = calendar_pictures::MarkChoice(mark);
      QCOMPARE(choice.devicePixelRatio(), 2.0);
      QCOMPARE(choice.size(), QSize(36, 32));
      QCOMPARE(Pixels(choice),
               Pixels(calendar_pictures::Picture(calendar_pictures::ForMark(mark))).copy(0, 0, 36, 32));
    }
    TempDir dir;  // the organiser reads its files from the data folder
    AppContext context(dir.Path());
    FrmCal frame(context);
    QCOMPARE(frame.findChild<QLabel*>("Image3")->pixmap().devicePixelRatio(), 2.0);  // the drag strip
    for (int mark : {0, 4, 7}) {
      auto* choice = frame.findChild<QToolButton*>(QStringLiteral("Option1_%1").arg(mark));
      QVERIFY(choice);
      const QImage shown = Pixels(choice->icon().pixmap(QSize(18, 16), 2.0));
      QCOMPARE(shown.size(), QSize(36, 32));
      QCOMPARE(Differing(shown, Pixels(calendar_pictures::MarkChoice(mark))), 0);
    }
    CalendarSurface s;
    s.DrawCalendar(2026, 12, {});
    QCOMPARE(s.Canvas().devicePixelRatio(), 2.0);
    QCOMPARE(s.Canvas().size(), s.size() * 2);
  }
};

int main(int argc, char** argv) {
  qputenv("QT_SCALE_FACTOR", "2");
  QApplication app(argc, argv);
  HiDpiTest t;
  return QTest::qExec(&t, argc, argv);
}

#include "HiDpi_test.moc"
