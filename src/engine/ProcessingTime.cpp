#include "engine/ProcessingTime.h"

#include <cmath>

namespace twinscan {

QString processingTimeText(double startSeconds, double endSeconds)
{
    if (startSeconds > endSeconds)
        endSeconds += 86400.0;
    const long long seconds = roundHalfEven(endSeconds - startSeconds);
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace twinscan
