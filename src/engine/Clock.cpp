#include "engine/Clock.h"

#include <QTime>

namespace twinscan {

double SystemClock::secondsSinceMidnight() const
{
    return QTime::currentTime().msecsSinceStartOfDay() / 1000.0;
}

} // namespace twinscan
