#pragma once

#include "ui/WindowPlacement.h"

#include <QRect>
#include <array>

namespace twinscan {

// Where the controls of the main window sit, in twips; a control inside a frame is placed
// relative to it. Starts at the design geometry.
struct MainWindowGeometry
{
    QRect frmAction {120, 120, 1335, 5655};
    QRect picProgressbar {240, 4440, 855, 1095};
    QRect frmOrig {1680, 120, 4815, 3255};
    QRect lstShow {240, 360, 4335, 2595};
    QRect frmDup {1680, 3480, 4815, 2295};
    QRect List2 {240, 360, 4335, 1635};
    QRect picStatusbar {0, 6000, 6615, 255};

    bool operator==(const MainWindowGeometry &) const = default;
};

// What the layout rule works from: the inside of the window in twips, and whether the window's
// rectangle (its outer frame, in twips) is to be remembered now, into `placement`.
struct MainWindowLayoutInput
{
    QSize client;
    bool remember = false;
    QRect frame;
    WindowPlacement placement;
};

struct MainWindowLayoutResult
{
    MainWindowGeometry geometry;
    // Steps 1 to 12 of the rule in order; a step that would give a negative size, or a value out
    // of range, is skipped and leaves its control as it was.
    std::array<bool, 12> applied {};
    // The placement, with each value of the frame that fits its field when remembering.
    WindowPlacement placement;
};

// The frame around the design client area, which the rule's margins were measured against.
constexpr int designFrameWidth = 120;
constexpr int designFrameHeight = 405;

// Lays the controls out for a window of the given inside size: the action column and the two
// list frames follow the height, the frames the width, the status bar the bottom edge.
MainWindowLayoutResult layOutMainWindow(
    const MainWindowGeometry &current, const MainWindowLayoutInput &input);

} // namespace twinscan
