// What the windows need to know of the screen: twips per pixel and the caption height.
#pragma once

#include <QPixmap>
#include <QSize>

class QWidget;

namespace screen {

double TwipsPerPixelX();
double TwipsPerPixelY();
int CaptionHeightPixels();

// Places a control at a design position given in twips.
void PlaceTwips(QWidget* w, int left, int top, int width, int height);
// A window whose client area has a fixed size given in twips.
void FixedSizeTwips(QWidget* w, int width, int height);
// Centres on the primary screen: (screen - window) / 2 in twips, remainder dropped.
void CentreOnScreen(QWidget* w);

// A window's outer size in twips, as stored and laid out, counts borders, caption and menu bar: the
// frame allowance. These turn it into the client size in pixels that Qt manages, and follow a size the
// user dragged back into twips without rounding drift.
QSize ClientPixels(int outerWidth, int outerHeight, int frameWidth, int frameHeight);
int FollowDrag(int outerTwips, int oldPixels, int newPixels, double twipsPerPixel);

// A transparent picture of `logical` pixels with the screen's pixel ratio, so what is drawn on it stays
// sharp on 2x screens.
QPixmap SharpPixmap(QSize logical);

}  // namespace screen
