#include "engine/ProcessingTime.h"

#include <cmath>

namespace twinscan {

long long roundHalfEven(double value)
{
    const double lower = std::floor(value);
    const double fraction = value - lower;
    if (fraction > 0.5)
        return static_cast<long long>(lower) + 1;
    if (fraction < 0.5)
        return static_cast<long long>(lower);
    const auto even = static_cast<long long>(lower);
    return even % 2 == 0 ? even : even + 1;
}

QString processingTimeText(double startSeconds, double endSeconds)
{
    if (startSeconds > endSeconds)
        endSeconds += 86400.0;
    const long long seconds = roundHalfEven(endSeconds - startSeconds);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace twinscan
