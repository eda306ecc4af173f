// The calendar's pictures, drawn in code: four 18 x 16 shaded mark tiles and seven 32 x 32 icons.
#pragma once

#include <QPixmap>
#include <functional>

class QPainter;

namespace calendar_pictures {

// Picture of the picture store by its index (0..12; 0 and 1 are the input window button's two faces), or a
// null pixmap for other indexes.
QPixmap Picture(int index);

// A 16 x 16 button face drawn in code for the screen's pixel ratio, so it stays sharp on 2x screens.
QPixmap ButtonFace(const std::function<void(QPainter&)>& draw);

// The face of picture button `button` (0 close, 1 input window, 2 next, 3 previous month).
QPixmap ButtonPicture(int button);

// The store index that shows DayMark `mark` (0..7), or -1.
int ForMark(int mark);

// What mark choice `mark` (0..7) shows: the top left 18 x 16 of its picture, where a mark is drawn,
// with the picture's pixel ratio (so a 2x picture gives all of that corner, not a quarter of it).
QPixmap MarkChoice(int mark);

inline constexpr int kAlarm = 3;
inline constexpr int kTodoOpen = 11;
inline constexpr int kTodoDone = 12;

}  // namespace calendar_pictures
