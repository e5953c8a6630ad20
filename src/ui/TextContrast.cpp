#include "ui/TextContrast.h"

#include <algorithm>
#include <cmath>

namespace twinscan {

namespace {

// The contrast WCAG AA asks of normal text.
constexpr double readable = 4.5;

double linear(double channel)
{
    return channel <= 0.04045 ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
}

// Dark text reads better on it than light text.
bool isLight(const QColor &base)
{
    return contrastRatio(base, Qt::black) >= contrastRatio(base, Qt::white);
}

} // namespace

double relativeLuminance(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF())
        + 0.0722 * linear(rgb.blueF());
}

double contrastRatio(const QColor &a, const QColor &b)
{
    const auto [darker, lighter] = std::minmax({relativeLuminance(a), relativeLuminance(b)});
    return (lighter + 0.05) / (darker + 0.05);
}

QColor duplicateRed(const QColor &base)
{
    if (isLight(base))
        return QColor(255, 0, 0);
    // Green and blue raised together keep the hue red, from pure red up to white, which reads on
    // every dark base.
    // The contrast grows with the level, so the first level that reads is the least lightened.
    // A plain loop: clang 14 cannot use libstdc++ 12's ranges, and it runs once per viewer.
    const auto lightened = [](int level) { return QColor(255, level, level); };
    int level = 0;
    while (level < 255 && contrastRatio(lightened(level), base) < readable)
        ++level;
    return lightened(level);
}

} // namespace twinscan
