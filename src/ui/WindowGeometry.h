#pragma once

#include "ui/WindowPlacement.h"

#include <QList>
#include <QRect>
#include <QSize>

class QWidget;

namespace twinscan {

constexpr int twipsPerPixel = 15;

// Logical pixels for a length in twips, halves to the even neighbour.
int twipsToPixels(int twips);

// The primary screen's size in twips; empty when there is no screen.
QSize primaryScreenTwips();

// The window's state and the position of its outer frame, in twips.
WindowSnapshot windowSnapshot(const QWidget &window);

// The window's outer frame in twips with its state, as the placement records hold it.
WindowPlacement framePlacement(const QWidget &window);

// Fits a frame into the work area of the screen that shows most of it: shrunk when larger, moved
// in where it sticks out. A rectangle saved at another scale, or on a larger screen, thus opens
// whole. A frame that no screen shows is centred on the primary one, so that a window saved on a
// monitor that has since gone can still be reached.
QRect fitToScreens(const QRect &frame, const QList<QRect> &screens, const QRect &primaryArea);

// The placement with its size grown to at least `minimum`, an outer size in logical pixels: a
// window whose smallest size has grown since, with the font, opens at that size straight away.
WindowPlacement grownTo(const WindowPlacement &placement, QSize minimum);

// Gives the window the placement's outer frame, fitted to the screens, and then its state. The
// placement itself is left as it is.
void placeWindow(QWidget &window, const WindowPlacement &placement);

// Whether the window's rectangle is the user's to remember: it is shown, in its normal state, and
// no longer being fitted to the placement it was opened with.
bool placementSettled(const QWidget &window);

} // namespace twinscan
