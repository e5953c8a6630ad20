#pragma once

#include <QColor>

namespace twinscan {

// How well text stands out from its background, measured as WCAG 2.x does: from the colours'
// relative luminance, so that it holds for any palette a desktop theme brings.

// 0 for black to 1 for white.
double relativeLuminance(const QColor &color);
// 1 for colours of one luminance, up to 21 for black and white; the same either way round.
double contrastRatio(const QColor &a, const QColor &b);

// The red that duplicate lines are drawn in on `base`. A light base keeps pure red, which users
// and their stored colours know; on a dark base it is pure red where that reads at 4.5:1, else the
// least lightened red that does.
QColor duplicateRed(const QColor &base);

} // namespace twinscan
