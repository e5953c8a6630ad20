#pragma once

#include <QtGlobal>

namespace twinscan {

// The percentage of "Saving File... p%" before line n is copied, from done = n - 1 lines of
// `lastLineIndex`: the progress bar's value as a share of its maximum, halves rounded to the even
// neighbour. A file of one line has nothing to count and shows 100.
int savePercent(qint64 done, qint64 lastLineIndex);

} // namespace twinscan
