#include "ui/TextContrast.h"

#include <algorithm>
#include <cmath>
#include <ranges>

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
    const auto lightened = [](int level) { return QColor(255, level, level); };
    const auto levels = std::views::iota(0, 256);
    const auto first = std::ranges::partition_point(
        levels, [&](int level) { return contrastRatio(lightened(level), base) < readable; });
    return lightened(first == levels.end() ? 255 : *first);
}

} // namespace twinscan
