// Font families in order of preference: the design's own name first (present where the user installed
// it), then the Noto CJK fonts Debian ships, then the generic family.
#include "platform/Fonts.h"

#include <QStringList>

namespace fonts {

QFont Design(Face face, double pointSize, bool bold) {
  QFont f;
  switch (face) {
    case Face::PGothic:
      f.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("MS PGothic"),
                     QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAPGothic"),
                     QStringLiteral("sans-serif")});
      f.setStyleHint(QFont::SansSerif);
      break;
    case Face::Gothic:
      f.setFamilies({QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                     QStringLiteral("Noto Sans Mono CJK JP"), QStringLiteral("monospace")});
      f.setStyleHint(QFont::Monospace);
      break;
    case Face::PMincho:
      f.setFamilies({QStringLiteral("ＭＳ Ｐ明朝"), QStringLiteral("MS PMincho"),
                     QStringLiteral("Noto Serif CJK JP"), QStringLiteral("serif")});
      f.setStyleHint(QFont::Serif);
      break;
  }
  f.setPointSizeF(pointSize);
  f.setBold(bold);
  return f;
}

}  // namespace fonts
