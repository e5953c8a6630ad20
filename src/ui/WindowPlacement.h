#pragma once

#include <QtGlobal>

namespace twinscan {

// A window's outer rectangle in twips (15 per logical pixel) and its state: 0 normal,
// 1 minimised, 2 maximised.
struct WindowPlacement
{
    qint16 left = 0;
    qint16 top = 0;
    qint16 width = 0;
    qint16 height = 0;
    qint16 state = 0;
};

// The values of WindowPlacement::state.
constexpr qint16 windowStateNormal = 0;
constexpr qint16 windowStateMinimised = 1;
constexpr qint16 windowStateMaximised = 2;

// What a window looks like at the moment the settings are saved: its state and the position of
// its outer frame in twips.
struct WindowSnapshot
{
    qint16 state = 0;
    qint64 left = 0;
    qint64 top = 0;
};

// Fits a length in twips into a 16-bit placement field. A window far right on a wide desktop lies
// beyond 32,767 twips (2,184 pixels); it is kept at the edge of the field rather than wrapped
// round to the other side of the screen.
inline qint16 toTwipField(qint64 twips)
{
    return qint16(twips < INT16_MIN ? INT16_MIN : twips > INT16_MAX ? INT16_MAX : twips);
}

} // namespace twinscan
