// What the windows need to know of the screen: twips per pixel and the caption height.
#pragma once

#include <QSize>

class QWidget;

namespace screen {

double TwipsPerPixelX();
double TwipsPerPixelY();
int CaptionHeightPixels();

// Sizes and places a top-level window in twips (client area size, as the design gives it).
void SetGeometryTwips(QWidget* w, int left, int top, int width, int height);
void ResizeTwips(QWidget* w, int width, int height);
// Centres on the primary screen: (screen - window) / 2 in twips, remainder dropped.
void CentreOnScreen(QWidget* w);
void SetTopmost(QWidget* w, bool topmost);

// A window's outer size in twips, as stored and laid out, counts borders, caption and menu bar: the
// frame allowance. These turn it into the client size in pixels that Qt manages, and follow a size the
// user dragged back into twips without rounding drift.
QSize ClientPixels(int outerWidth, int outerHeight, int frameWidth, int frameHeight);
int FollowDrag(int outerTwips, int oldPixels, int newPixels, double twipsPerPixel);

}  // namespace screen
