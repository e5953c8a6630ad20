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

// A frame that touches none of the screens' work areas is centred on the primary one, so that a
// window saved on a monitor that has since gone can still be reached. A frame larger than the
// work area it lands on is shrunk to fit it.
QRect keepOnScreens(const QRect &frame, const QList<QRect> &screens, const QRect &primaryArea);

// Gives the window the placement's outer frame, moved onto a screen when needed, and then its
// state. The placement itself is left as it is.
void placeWindow(QWidget &window, const WindowPlacement &placement);

} // namespace twinscan
