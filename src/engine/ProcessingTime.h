#pragma once

#include "engine/Rounding.h"

#include <QString>

namespace twinscan {

// The elapsed time between two readings of a seconds-since-midnight clock as "m:ss". A run that
// crossed midnight has an end smaller than its start.
QString processingTimeText(double startSeconds, double endSeconds);

} // namespace twinscan
