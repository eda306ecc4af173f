// Where the editor's resizable controls go for a window of outer size W x H twips.
#pragma once

#include <optional>

inline constexpr int kEditorMinimumHeight = 4000;
inline constexpr int kEditorSnapHeight = 4400;  // not the minimum: the window jumps back to its default

struct EditorLayout {
  int textWidth = 0;    // Text1 and List1
  int label1Left = 0;   // Label1
  int label20Left = 0;  // Label2(0)
  int buttonsLeft = 0;  // Command1(0..3)
  int closeTop = 0;     // Command1(1)
  int listHeight = 0;
  // A new outer height when the window must snap back; unset otherwise.
  std::optional<int> snapHeight;
};

// d is the caption correction (CaptionHeight - 19) * 15; listTook is the height the list box actually
// took when given listHeight (a list that shows whole rows only may differ).
inline EditorLayout LayoutEditor(int w, int h, int d, std::optional<int> listTook = std::nullopt) {
  EditorLayout l;
  l.textWidth = w - 1150;
  l.label1Left = w - 915;
  l.label20Left = w - 1005;
  l.buttonsLeft = w - 1005;
  l.closeTop = h - (1130 + d);
  // The list keeps its height under a taller caption as the close button keeps its place: h grew by d,
  // the inner area did not (h - 1640 alone would run the list d twips past the window's bottom).
  l.listHeight = h - (1640 + d);
  int height = h;
  if (listTook && h - *listTook != 1640 + d) height = *listTook + 1640 + d;
  if (height < kEditorMinimumHeight) height = kEditorSnapHeight;
  if (height != h) l.snapHeight = height;
  return l;
}
