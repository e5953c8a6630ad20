#pragma once

#include <QSize>

class QWidget;

namespace twinscan::modSubclassing {

// The smallest outer sizes of the two resizable windows, in logical pixels.
constexpr QSize mainWindowMinimum {400, 400};
constexpr QSize viewerWindowMinimum {200, 200};

// Keeps the window's outer frame, title bar and borders included, from being made smaller than
// `minimum`. Qt's minimum size is the inside's, so it follows the frame once the platform tells
// it. Nothing else about the window's events changes.
void Hook(QWidget &window, QSize minimum);
// Gives the window back the minimum size it had before Hook.
void Unhook(QWidget &window);

} // namespace twinscan::modSubclassing
