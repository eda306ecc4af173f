// Build tool: writes the installed icons from the program's own drawing, a scalable SVG, PNGs, and the
// Windows icon (an .ico of the same PNGs, as Windows Vista and later read them).
// Usage: make_icons <output folder>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSvgGenerator>

#include "core/Icons.h"

namespace {
void PutLe(QByteArray& out, quint32 value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.append(static_cast<char>((value >> (8 * i)) & 0xFF));
}

// ICONDIR, one ICONDIRENTRY per picture, then the PNG bytes.
bool WriteIco(const QString& path, const QList<QPair<int, QByteArray>>& pngs) {
  QByteArray out;
  PutLe(out, 0, 2);
  PutLe(out, 1, 2);  // an icon
  PutLe(out, static_cast<quint32>(pngs.size()), 2);
  quint32 offset = 6 + 16 * static_cast<quint32>(pngs.size());
  for (const auto& [size, png] : pngs) {
    PutLe(out, size >= 256 ? 0 : static_cast<quint32>(size), 1);  // 0 means 256
    PutLe(out, size >= 256 ? 0 : static_cast<quint32>(size), 1);
    PutLe(out, 0, 1);  // no palette
    PutLe(out, 0, 1);
    PutLe(out, 1, 2);   // planes
    PutLe(out, 32, 2);  // bits per pixel
    PutLe(out, static_cast<quint32>(png.size()), 4);
    PutLe(out, offset, 4);
    offset += static_cast<quint32>(png.size());
  }
  for (const auto& entry : pngs) out.append(entry.second);
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(out) == out.size();
}
}  // namespace

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
  QList<QPair<int, QByteArray>> ico;
  for (int size : icons::kSizes) {
    QImage img(size, size, QImage::Format_ARGB32_Premultiplied);
    img.fill(Qt::transparent);
    {
      QPainter p(&img);
      icons::PaintPhoneBook(p, size);
    }
    if (!img.save(out.filePath(QStringLiteral("dialnestplus-%1.png").arg(size)))) return 1;
    if (size == 22) continue;  // not a size Windows asks for
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!img.save(&buffer, "PNG")) return 1;
    ico.append({size, png});
  }
  return WriteIco(out.filePath(QStringLiteral("dialnestplus.ico")), ico) ? 0 : 1;
}
