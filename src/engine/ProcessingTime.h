#pragma once

#include <QString>

namespace twinscan {

// Rounds to the nearest whole number, halves to the even neighbour (0.5 -> 0, 1.5 -> 2).
long long roundHalfEven(double value);

// The elapsed time between two readings of a seconds-since-midnight clock as "m:ss". A run that
// crossed midnight has an end smaller than its start.
QString processingTimeText(double startSeconds, double endSeconds);

} // namespace twinscan
