// The design's fonts mapped onto the CJK fonts the machine has, at the designed point size: one place,
// so a window's fixed layout never takes the desktop's font size.
#pragma once

#include <QFont>

namespace fonts {

enum class Face { PGothic, Gothic, PMincho };  // "ＭＳ Ｐゴシック", "ＭＳ ゴシック", "ＭＳ Ｐ明朝"

QFont Design(Face face, double pointSize, bool bold = false);

}  // namespace fonts
