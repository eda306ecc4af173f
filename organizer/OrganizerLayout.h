// The organiser window's geometry in twips: the narrow (calendar only) and wide (input window) layouts.
#pragma once

#include <array>

namespace organizer_layout {

inline constexpr int kHeight = 2370;
inline constexpr int kNarrowWidth = 2870;
inline constexpr int kWideWidth = 6960;
// A page switch on a window narrower than this first moves its left edge by kShift, so the right edge
// stays where it was.
inline constexpr int kWidenBelow = 6955;
inline constexpr int kShift = 4090;

struct Rect {
  int left, top, width, height;
};

// Picture buttons Picture2(0..3): close, input window, next month, previous month.
inline constexpr int kButtonTop = 75;
inline constexpr int kButtonSize = 240;
inline constexpr std::array<int, 4> kButtonLeftNarrow{2565, 2325, 2085, 1845};
inline constexpr std::array<int, 4> kButtonLeftWide{6660, 6420, 2565, 2325};

inline constexpr Rect kLabel2{675, 75, 1155, 245};  // the date caption; its width changes with the layout
inline constexpr int kLabel2WidthNarrow = 1170;
inline constexpr int kLabel2WidthWide = 1620;
inline constexpr Rect kLabel4{690, 390, 2100, 270};  // band behind the weekday header
inline constexpr std::array<int, 7> kLabel1Left{735, 1020, 1320, 1605, 1905, 2190, 2490};
inline constexpr int kLabel1Top = 420, kLabel1Width = 255, kLabel1Height = 210;
inline constexpr Rect kPicture1{750, 690, 1980, 1530};  // the month grid
inline constexpr int kImage3Width = 315;                // the drag strip, full height at the left edge

inline constexpr Rect kPicture5{345, 45, 300, 2300};    // tab strip host
inline constexpr Rect kPicture3{6090, 1440, 810, 345};  // time picker host

// ToDo panel Picture6 and memo panel Picture4: shown at top 50, hidden below the window.
inline constexpr Rect kPicture6{2880, 50, 4050, 2280};
inline constexpr int kPicture6HiddenTop = 4860;
inline constexpr Rect kPicture4{675, 50, 6240, 2280};
inline constexpr int kPicture4HiddenTop = 2500;
// The memo text, inside Picture4: below the row of picture buttons (top 75, 240 high), which stay over
// the panel, so none of them covers the text or its scroll bar.
inline constexpr Rect kText5{60, 300, 6120, 1470};

// The schedule entry.
inline constexpr Rect kText1{2880, 360, 2925, 1950};
inline constexpr Rect kLabel3Mark{5865, 345, 825, 210};
inline constexpr std::array<int, 4> kOptionLeft{5865, 6120, 6375, 6630};
inline constexpr std::array<int, 2> kOptionTop{555, 795};
inline constexpr int kOptionWidth = 260, kOptionHeight = 245;
inline constexpr Rect kLabel3Time{5865, 1215, 1005, 210};
inline constexpr Rect kCheck1{5880, 1485, 210, 210};
inline constexpr Rect kCommand1{5865, 1950, 1025, 360};

// Edge lines: the vertical pair follows the width; y ranges as designed.
inline constexpr int kLine2Bottom0 = 2400, kLine2Top1 = 15, kLine2Bottom1 = 2340;

}  // namespace organizer_layout
