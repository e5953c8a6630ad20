#pragma once

#include <QColor>
#include <optional>

class QPalette;

namespace twinscan {

// A colour as the bars take it: with the high bit set, a system colour named by its low byte
// (0x8000000F the button face), otherwise 0x00BBGGRR.
using OleColor = qint32;

constexpr OleColor systemColor(int index)
{
    return OleColor(0x80000000u | unsigned(index));
}
constexpr int colorHighlight = 13;
constexpr int colorButtonFace = 15;

// The colour to fill with. A system colour is looked up by its low five bits, so that -1 names
// none and the area stays as it is.
std::optional<QColor> fillColor(OleColor color, const QPalette &palette);

// The colour to draw text in; none when a system colour is not known.
std::optional<QColor> textColor(OleColor color, const QPalette &palette);

} // namespace twinscan
