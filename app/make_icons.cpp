// Build tool: writes the installed icons from the program's own drawing, a scalable SVG and PNGs.
// Usage: make_icons <output folder>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "core/Icons.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const QDir out(QString::fromLocal8Bit(argv[1]));
  QSvgGenerator svg;
  svg.setFileName(out.filePath(QStringLiteral("dialnestplus.svg")));
  svg.setSize(QSize(16, 16));
  svg.setViewBox(QRect(0, 0, 16, 16));
  svg.setTitle(QStringLiteral("Dialnest Plus"));
  {
    QPainter p(&svg);
    icons::PaintPhoneBook(p, 16);
  }
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
      QPainter p(&img);
      icons::PaintPhoneBook(p, size);
    }
    if (!img.save(out.filePath(QStringLiteral("dialnestplus-%1.png").arg(size)))) return 1;
  }
  return 0;
}
