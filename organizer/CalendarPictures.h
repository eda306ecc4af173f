// The calendar's pictures, drawn in code: four 18 x 16 shaded mark tiles and seven 32 x 32 icons.
#pragma once

#include <QPixmap>

namespace calendar_pictures {

// Picture of the picture store by its index (2..12), or a null pixmap for other indexes.
QPixmap Picture(int index);

// The store index that shows DayMark `mark` (0..7), or -1.
int ForMark(int mark);

inline constexpr int kAlarm = 3;
inline constexpr int kTodoOpen = 11;
inline constexpr int kTodoDone = 12;

}  // namespace calendar_pictures
