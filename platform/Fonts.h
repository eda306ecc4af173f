// The design's fonts mapped onto the CJK fonts the machine has, at the designed point size: one place,
// so a window's fixed layout never takes the desktop's font size.
#pragma once

#include <QFont>

class QLabel;

namespace fonts {

enum class Face { PGothic, Gothic, PMincho };  // "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ Ｐ明朝"

QFont Design(Face face, double pointSize, bool bold = false);

// What every window sets on itself, so its controls take it unless the design names another font:
// "ＭＳ Ｐゴシック" at 9 points, the form font the layouts were drawn with.
QFont Form();

// Shows `text` on `label` in `designed`, or in the largest half-point smaller size (down to 6 points)
// that holds it whole where the designed size would cut it: a label of fixed size whose text is longer
// than the layout foresaw (a count of pages, a message) stays readable to the end.
void FitText(QLabel* label, const QString& text, const QFont& designed);

}  // namespace fonts
