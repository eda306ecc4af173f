// Font families in order of preference: the design's own name (present where the user installed it),
// then the IPA fonts, which are drawn to the same advance widths and line height (one em) as those, so
// a label laid out for the design's font holds its text; then the Noto CJK fonts, whose line height of
// about 1.45 em needs taller controls; then the generic family.
#include "platform/Fonts.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStringList>

namespace fonts {

QFont Design(Face face, double pointSize, bool bold) {
  QFont f;
  switch (face) {
    case Face::PGothic:
      f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                     QStringLiteral("IPAPGothic"), QStringLiteral("Noto Sans CJK JP"),
                     QStringLiteral("sans-serif")});
      f.setStyleHint(QFont::SansSerif);
      break;
    case Face::Gothic:
      f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                     QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                     QStringLiteral("monospace")});
      f.setStyleHint(QFont::Monospace);
      break;
    case Face::PMincho:
      f.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"),
                     QStringLiteral("IPAPMincho"), QStringLiteral("Noto Serif CJK JP"),
                     QStringLiteral("serif")});
      f.setStyleHint(QFont::Serif);
      break;
  }
  f.setPointSizeF(pointSize);
  f.setBold(bold);
  return f;
}

QFont Form() {
  return Design(Face::PGothic, 9);
}

void FitText(QLabel* label, const QString& text, const QFont& designed) {
  const int m = label->margin();
  const QRect room = label->contentsRect().adjusted(m, m, -m, -m);
  const int flags = int(label->alignment()) | (label->wordWrap() ? Qt::TextWordWrap : 0);
  QFont f = designed;
  while (f.pointSizeF() > 6 && !room.contains(QFontMetrics(f).boundingRect(room, flags, text)))
    f.setPointSizeF(f.pointSizeF() - 0.5);
  label->setFont(f);
  label->setText(text);
}

}  // namespace fonts
